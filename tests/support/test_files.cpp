#include "support/test_files.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

std::string TestOutputPath() {
    const char* fromEnvironment = std::getenv("TEST_OUTPUT_DIR");
    return fromEnvironment != nullptr ? fromEnvironment : DUCKDEMO_TEST_OUTPUT_DIR;
}

const std::string& TestOutputDir() {
    static const std::string dir = [] {
        std::string path = TestOutputPath();
        std::filesystem::create_directories(path);
        return path;
    }();
    return dir;
}

std::string TestFilePath(const std::string& name) {
    return TestOutputDir() + "/" + std::to_string(getpid()) + "-" + name;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::string contents = ReadWholeFile(path);
    return {contents.begin(), contents.end()};
}

void WriteWholeFile(const std::string& path, const std::string& contents) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << contents;
}
