#include "standin/hardware/hardware.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace standin {

Hardware& TheHardware() {
    static Hardware hardware;
    return hardware;
}

bool StepFails(const char* step) { return TheHardware().failingStep == step; }

int32_t WindowScaleOn(int32_t pcWidth, int32_t pcHeight) {
    const Hardware& hardware = TheHardware();
    if (hardware.windowScale != kLargestWindowScale) return std::max(hardware.windowScale, 1);
    if (hardware.screenWidth <= 0 || hardware.screenHeight <= 0) return 1;
    return std::max(1, std::min(pcWidth / hardware.screenWidth, pcHeight * 9 / 10 / hardware.screenHeight));
}

namespace {

// Larger than any screen or frame buffer the stand-ins are meant to pretend,
// small enough that no size or pitch product overflows.
constexpr long kLargestEdge = 16384;
constexpr long kLargestPitch = 65536;

// A whole number in decimal or 0x hexadecimal, within [low, high].
bool ReadNumber(const std::string& text, long low, long high, long& number) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    number = std::strtol(text.c_str(), &end, 0);
    return errno == 0 && *end == '\0' && number >= low && number <= high;
}

bool ReadDepths(const std::string& text, Hardware& hardware) {
    Hardware read = hardware;
    read.accepts32 = read.accepts24 = read.accepts16 = false;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = std::min(text.find(',', start), text.size());
        std::string depth = text.substr(start, end - start);
        if (depth == "32")
            read.accepts32 = true;
        else if (depth == "24")
            read.accepts24 = true;
        else if (depth == "16")
            read.accepts16 = true;
        else
            return false;
        start = end + 1;
    }
    hardware = read;
    return true;
}

bool ReadSize(const std::string& text, int32_t& width, int32_t& height) {
    size_t by = text.find('x');
    long readWidth = 0;
    long readHeight = 0;
    if (by == std::string::npos || !ReadNumber(text.substr(0, by), 1, kLargestEdge, readWidth) ||
        !ReadNumber(text.substr(by + 1), 1, kLargestEdge, readHeight))
        return false;
    width = static_cast<int32_t>(readWidth);
    height = static_cast<int32_t>(readHeight);
    return true;
}

bool ReadPitch(const std::string& text, int32_t& pitch) {
    long number = 0;
    if (!ReadNumber(text, -kLargestPitch, kLargestPitch, number) || number == 0) return false;
    pitch = static_cast<int32_t>(number);
    return true;
}

bool ReadInto(const std::string& text, long low, long high, int32_t& value) {
    long number = 0;
    if (!ReadNumber(text, low, high, number)) return false;
    value = static_cast<int32_t>(number);
    return true;
}

struct Setting {
    const char* key;
    const char* expected;  // what the value must be, for the error
    bool (*apply)(Hardware& hardware, const std::string& value);
};

const Setting kSettings[] = {
    {"depths", "a list of 32, 24 and 16, e.g. depths=32,16",
     [](Hardware& hardware, const std::string& value) { return ReadDepths(value, hardware); }},
    {"redmask", "the 16-bit red mask, 0xf800 (5-6-5) or 0x7c00 (5-5-5)",
     [](Hardware& hardware, const std::string& value) {
         long mask = 0;
         if (!ReadNumber(value, 1, 0xFFFF, mask)) return false;
         hardware.redMask16 = static_cast<uint32_t>(mask);
         return true;
     }},
    {"windowbpp", "the desktop's bits per pixel: 8, 15, 16, 24 or 32",
     [](Hardware& hardware, const std::string& value) {
         long depth = 0;
         if (!ReadNumber(value, 8, 32, depth) ||
             (depth != 8 && depth != 15 && depth != 16 && depth != 24 && depth != 32))
             return false;
         hardware.windowBitsPerPixel = static_cast<int32_t>(depth);
         return true;
     }},
    {"screenwidth", "the screen's width in pixels",
     [](Hardware& hardware, const std::string& value) {
         return ReadInto(value, 1, kLargestEdge, hardware.screenWidth);
     }},
    {"screenheight", "the screen's height in pixels",
     [](Hardware& hardware, const std::string& value) {
         return ReadInto(value, 1, kLargestEdge, hardware.screenHeight);
     }},
    {"fail", "the name of the call that fails, e.g. fail=CreateSurface",
     [](Hardware& hardware, const std::string& value) {
         hardware.failingStep = value;
         return !value.empty();
     }},
    {"handheld", "the handheld screen's width x height, e.g. handheld=480x640",
     [](Hardware& hardware, const std::string& value) {
         return ReadSize(value, hardware.handheldWidth, hardware.handheldHeight);
     }},
    {"xpitch", "the bytes from one handheld pixel to the next across, e.g. xpitch=2",
     [](Hardware& hardware, const std::string& value) { return ReadPitch(value, hardware.handheldXPitch); }},
    {"ypitch", "the bytes from one handheld row to the next, e.g. ypitch=960",
     [](Hardware& hardware, const std::string& value) { return ReadPitch(value, hardware.handheldYPitch); }},
};

}  // namespace

bool ApplyHardwareSettings(Hardware& hardware, const char* settings, std::string& error) {
    std::string text = settings != nullptr ? settings : "";
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = std::min(text.find(';', start), text.size());
        std::string item = text.substr(start, end - start);
        start = end + 1;
        if (item.empty()) continue;
        size_t equals = item.find('=');
        std::string key = item.substr(0, equals);
        const Setting* setting = nullptr;
        for (const Setting& candidate : kSettings)
            if (key == candidate.key) setting = &candidate;
        if (setting == nullptr) {
            error = "\"" + item +
                    "\": no such setting; known are depths, redmask, windowbpp, screenwidth, "
                    "screenheight, fail, handheld, xpitch, ypitch";
            return false;
        }
        if (equals == std::string::npos || !setting->apply(hardware, item.substr(equals + 1))) {
            error = "\"" + item + "\": " + key + " takes " + setting->expected;
            return false;
        }
    }
    return true;
}

bool LoadHardwareFromEnvironment() {
    std::string error;
    if (ApplyHardwareSettings(TheHardware(), std::getenv("DUCKDEMO_HARDWARE"), error)) return true;
    std::fprintf(stderr, "DUCKDEMO_HARDWARE: cannot understand %s\n", error.c_str());
    return false;
}

}  // namespace standin
