#include "support/test_files.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

const std::string& TestOutputDir() {
    static const std::string dir = [] {
        const char* fromEnvironment = std::getenv("TEST_OUTPUT_DIR");
        std::filesystem::path path =
            fromEnvironment != nullptr ? fromEnvironment : std::filesystem::temp_directory_path() / "duckdemo-tests";
        std::filesystem::create_directories(path);
        return path.string();
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
