#include "core/regular_file.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

std::FILE* OpenRegularFile(const char* path, const char* mode) {
    if (path == nullptr || mode == nullptr) return nullptr;
    std::error_code error;
    std::filesystem::file_status status = std::filesystem::status(path, error);
    if (!error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        errno = std::filesystem::is_directory(status) ? EISDIR : EINVAL;
        return nullptr;
    }
    return std::fopen(path, mode);
}
