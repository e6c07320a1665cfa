// Paths beside the executable, so the program finds its data and writes its
// log in its own folder whatever the current directory is.
#pragma once

#include <cstdint>

constexpr int32_t kDataPathCapacity = 10240;
constexpr int32_t kExecutablePathCapacity = 1000;

// The separator of a full path the system gives: one that begins with a
// slash is a Unix path, where a backslash is only a character of a name;
// any other (a drive's "C:\", a handheld's "\Windows", a share's "\\server")
// is a Windows path, separated by backslashes.
char PathSeparatorOf(const char* fullPath);

// Writes the folder of executablePath (up to and including its last
// separator) followed by relative into buffer, with relative's backslashes
// turned into the separator. Returns buffer; relative itself when
// executablePath holds no separator; "" when the result would not fit.
const char* ResolveDataPathFrom(const char* executablePath, char separator, const char* relative, char* buffer,
                                int32_t capacity);

// The same beside the running executable, in one shared buffer: the result is
// valid only until the next call. When the executable's path is too long to
// be had whole, "" (which opens nothing), and the first call says so on stderr.
const char* ResolveDataPath(const char* relative);

// The program's own folder in a folder the system keeps for the user's
// programs: base, its separator, "duckdemo" and a separator, into buffer.
// Returns the length; 0 (and "") when it does not fit capacity.
int32_t OwnFolderIn(const char* base, char* buffer, int32_t capacity);
