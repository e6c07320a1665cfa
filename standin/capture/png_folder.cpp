#include "standin/capture/png_folder.h"

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <utility>

#include "formats/png_file.h"

namespace standin {

PngFolderSink::PngFolderSink(std::string folder, bool namedByTime)
    : folder(std::move(folder)), namedByTime(namedByTime) {}

bool PngFolderSink::Write(const uint8_t* rgb, int32_t width, int32_t height, int64_t index, int32_t demoMilliseconds) {
    if (failed) return false;
    if (!folderMade) {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) {
            std::fprintf(stderr, "error: could not make the capture folder \"%s\": %s\n", folder.c_str(),
                         error.message().c_str());
            failed = true;
            return false;
        }
        folderMade = true;
    }

    char name[32];
    if (namedByTime) {
        std::snprintf(name, sizeof name, "t%06" PRId32 ".png", demoMilliseconds);
    } else {
        std::snprintf(name, sizeof name, "frame%06" PRId64 ".png", index);
    }
    path.assign(folder);
    if (!path.empty() && path.back() != '/') path += '/';
    path += name;

    failed = !WritePngFile(path, {rgb, width, height, 3}, PngCompression::Fast);
    return !failed;
}

bool PngFolderSink::Finish(const char*) { return !failed; }

}  // namespace standin
