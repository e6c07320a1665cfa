// Opening only what can be read or written as a file.
#pragma once

#include <cstdio>

// std::fopen(path, mode) of a path that names a regular file or nothing yet.
// A FIFO would block the open until another process came, and a device or a
// folder is no picture, song or log: those are refused at once, as a missing
// file is, with errno EISDIR for a folder and EINVAL for the rest.
std::FILE* OpenRegularFile(const char* path, const char* mode);
