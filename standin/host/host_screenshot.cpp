// F12: the picture a window shows, saved as a PNG file beside the program,
// or in its folder in the user's state folder when that one cannot be
// written, with a line on stderr saying where. The program's log is the
// program's: which file it is (a second copy writes qvDebug-2.log) only the
// program knows.
#include <fcntl.h>
#include <shlobj.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>
#include <windows.h>

#include "formats/png_file.h"
#include "standin/host/frame_image.h"
#include "standin/host/host_window.h"

namespace standin {
namespace {

// The program's folder as the program itself finds it, so a picture lands
// where its log does.
std::filesystem::path ProgramFolder() {
    char program[4096] = {};
    DWORD length = GetModuleFileNameA(nullptr, program, sizeof program);
    std::error_code failure;
    if (length == 0 || length >= sizeof program) return std::filesystem::current_path(failure);
    return std::filesystem::path(program).parent_path();
}

// The programs' log moves to their folder in the user's state folder when
// their own cannot be written; the pictures go there too, so both are found
// in one place. The effective IDs decide, as they do for the file itself.
std::filesystem::path PictureFolder() {
    std::filesystem::path folder = ProgramFolder();
    if (faccessat(AT_FDCWD, folder.c_str(), W_OK, AT_EACCESS) == 0) return folder;
    char state[MAX_PATH] = {};
    if (SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, state) != S_OK)
        return folder;
    std::filesystem::path own = std::filesystem::path(state) / "duckdemo";
    std::error_code failure;
    std::filesystem::create_directory(own, failure);
    return own;
}

// The first of screenshot001.png, screenshot002.png... not yet taken.
std::filesystem::path FreeName(const std::filesystem::path& folder) {
    char name[32];
    for (int number = 1;; ++number) {
        std::snprintf(name, sizeof name, "screenshot%03d.png", number);
        if (!std::filesystem::exists(folder / name)) return folder / name;
    }
}

}  // namespace

void SaveScreenshot(const HostWindow& window) {
    if (window.converted.empty() || window.pictureWidth <= 0 || window.pictureHeight <= 0) return;
    std::vector<uint8_t> rgb(static_cast<size_t>(window.pictureWidth) * window.pictureHeight * 3);
    ConvertToRgb(window.converted.data(), window.pictureWidth * 4, HostPixelFormat::Argb8888, window.pictureWidth,
                 window.pictureHeight, rgb.data());
    std::filesystem::path folder = PictureFolder();
    std::string path = FreeName(folder).string();
    // WritePngFile has said why on stderr when it fails.
    if (WritePngFile(path, {rgb.data(), window.pictureWidth, window.pictureHeight, 3}, PngCompression::Fast))
        std::fprintf(stderr, "screenshot: %s\n", path.c_str());
    else
        std::fprintf(stderr, "screenshot: F12's picture could not be saved as %s\n", path.c_str());
}

}  // namespace standin
