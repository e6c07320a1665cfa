// Hands a fuzz input to code that reads a path: one file per process,
// rewritten for every input and removed at exit.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

class FuzzInputFile {
public:
    explicit FuzzInputFile(const char* stem)
        : path((Folder() / (std::string("duckdemo-fuzz-") + stem + "-" + std::to_string(getpid()) + ".tga")).string()) {
    }
    ~FuzzInputFile() { std::remove(path.c_str()); }

    FuzzInputFile(const FuzzInputFile&) = delete;
    FuzzInputFile& operator=(const FuzzInputFile&) = delete;

    // Writes bytes as the whole file and returns its path.
    const char* Write(const uint8_t* bytes, size_t size) {
        FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) __builtin_trap();
        if (size > 0 && std::fwrite(bytes, 1, size, file) != size) __builtin_trap();
        std::fclose(file);
        return path.c_str();
    }

private:
    // Memory where the system has it: a disk's temporary folder can cost a
    // millisecond a file.
    static std::filesystem::path Folder() {
        std::error_code error;
        if (std::filesystem::is_directory("/dev/shm", error) && access("/dev/shm", W_OK) == 0) return "/dev/shm";
        return std::filesystem::temp_directory_path();
    }

    std::string path;
};

// The X and Y origin of a TGA header (bytes 8 to 11), which the loader never
// reads: the fuzzers take them as where to draw.
inline int32_t OriginWord(const uint8_t* bytes, size_t size, size_t offset) {
    if (size < offset + 2) return 0;
    return static_cast<int16_t>(bytes[offset] | bytes[offset + 1] << 8);
}
