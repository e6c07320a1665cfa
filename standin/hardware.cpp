#include "hardware.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace standin {

Hardware& TheHardware() {
    static Hardware hardware;
    return hardware;
}

bool StepFails(const char* step) { return TheHardware().failingStep == step; }

namespace {

bool ApplySetting(Hardware& hardware, const std::string& key, const std::string& value) {
    char* end = nullptr;
    long number = std::strtol(value.c_str(), &end, 0);
    bool isNumber = !value.empty() && *end == '\0';
    if (key == "depths") {
        hardware.accepts32 = value.find("32") != std::string::npos;
        hardware.accepts24 = value.find("24") != std::string::npos;
        hardware.accepts16 = value.find("16") != std::string::npos;
        return true;
    }
    if (key == "redmask" && isNumber)
        hardware.redMask16 = static_cast<uint32_t>(number);
    else if (key == "windowbpp" && isNumber)
        hardware.windowBitsPerPixel = static_cast<int32_t>(number);
    else if (key == "screenwidth" && isNumber)
        hardware.screenWidth = static_cast<int32_t>(number);
    else if (key == "screenheight" && isNumber)
        hardware.screenHeight = static_cast<int32_t>(number);
    else if (key == "fail")
        hardware.failingStep = value;
    else
        return false;
    return true;
}

}  // namespace

bool LoadHardwareFromEnvironment() {
    const char* text = std::getenv("DUCKDEMO_HARDWARE");
    if (text == nullptr) return true;
    std::string settings = text;
    size_t start = 0;
    while (start <= settings.size()) {
        size_t end = settings.find(';', start);
        if (end == std::string::npos) end = settings.size();
        std::string item = settings.substr(start, end - start);
        size_t equals = item.find('=');
        if (!item.empty() && (equals == std::string::npos ||
                              !ApplySetting(TheHardware(), item.substr(0, equals), item.substr(equals + 1)))) {
            std::fprintf(stderr, "DUCKDEMO_HARDWARE: cannot understand \"%s\"\n", item.c_str());
            return false;
        }
        start = end + 1;
    }
    return true;
}

}  // namespace standin
