#include "standin/capture/output_check.h"

#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>

#include "standin/capture/video_sink.h"

namespace standin {
namespace {

// The extension of the last part of a path, lower case; "" for none.
std::string ExtensionOf(const std::string& path) {
    std::string name = std::filesystem::path(path).filename().string();
    size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return {};
    std::string extension = name.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

// A file someone would expect a picture, a video or a sound in, which a
// capture does not write: taken as a folder, it would hold PNG frames.
bool IsOtherMediaExtension(const std::string& extension) {
    static const char* const kOthers[] = {"avi",  "gif",  "mov", "qt",  "wmv", "flv",  "mpg",  "mpeg",
                                          "m4v",  "ogv",  "3gp", "ts",  "png", "jpg",  "jpeg", "bmp",
                                          "webp", "apng", "wav", "mp3", "ogg", "flac", "aac"};
    for (const char* other : kOthers) {
        if (extension == other) return true;
    }
    return false;
}

// The frames and music of an earlier capture, which new ones would be mixed
// with: frame000000.png, t016800.png, audio.wav.
bool HoldsAnEarlierCapture(const std::string& folder, std::string& example) {
    std::error_code failure;
    for (const auto& entry : std::filesystem::directory_iterator(folder, failure)) {
        std::string name = entry.path().filename().string();
        bool frame = (name.rfind("frame", 0) == 0 || name.rfind("t", 0) == 0) && ExtensionOf(name) == "png";
        if (frame || name == "audio.wav") {
            example = name;
            return true;
        }
    }
    return false;
}

}  // namespace

bool CheckOutput(const CaptureSettings& settings) {
    const std::string& output = settings.output;
    std::error_code failure;
    bool isFolder = std::filesystem::is_directory(output, failure);
    std::string extension = ExtensionOf(output);
    if (!isFolder && IsOtherMediaExtension(extension)) {
        std::fprintf(stderr,
                     "capture: cannot write a .%s file; a video ends in .mp4, .mkv or .webm, and a folder of PNG "
                     "frames is named without a picture's, a video's or a sound's extension\n",
                     extension.c_str());
        return false;
    }
    std::string example;
    if (isFolder && HoldsAnEarlierCapture(output, example)) {
        std::fprintf(stderr,
                     "capture: the folder %s holds an earlier capture (%s...); new frames would be mixed with it, so "
                     "choose another folder or empty this one\n",
                     output.c_str(), example.c_str());
        return false;
    }
    // The nearest folder that is there must be one we may write in.
    std::filesystem::path existing =
        IsVideoPath(output) || !isFolder ? std::filesystem::path(output).parent_path() : std::filesystem::path(output);
    while (!existing.empty() && !std::filesystem::exists(existing, failure) && existing != existing.parent_path())
        existing = existing.parent_path();
    if (existing.empty()) existing = ".";
    if (!std::filesystem::is_directory(existing, failure) || access(existing.c_str(), W_OK | X_OK) != 0) {
        std::fprintf(stderr, "capture: cannot write %s: %s is not a folder this program may write in\n", output.c_str(),
                     existing.c_str());
        return false;
    }
    return true;
}

}  // namespace standin
