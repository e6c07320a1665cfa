// Files that tests write: under TEST_OUTPUT_DIR when set, else the build
// tree's tests/output, named per process so that test cases running side by
// side never share one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The folder, created on first use.
const std::string& TestOutputDir();

// The same, not created: for what runs before any test does.
std::string TestOutputPath();

// A path in that folder whose name holds the process id and the given name.
std::string TestFilePath(const std::string& name);

std::string ReadWholeFile(const std::string& path);

// The same as bytes; none when the file cannot be read.
std::vector<uint8_t> ReadBytes(const std::string& path);

void WriteWholeFile(const std::string& path, const std::string& contents);
