// The pretended machine's settings: any text either applies settings within
// their ranges or is refused with a reason.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "standin/hardware/hardware.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The settings come from the environment, so a NUL ends them.
    std::string settings(reinterpret_cast<const char*>(data), size);
    settings.resize(std::strlen(settings.c_str()));

    standin::Hardware hardware;
    std::string error;
    bool applied = standin::ApplyHardwareSettings(hardware, settings.c_str(), error);
    if (applied != error.empty()) __builtin_trap();
    if (hardware.handheldWidth < 1 || hardware.handheldWidth > 16384 || hardware.handheldHeight < 1 ||
        hardware.handheldHeight > 16384 || hardware.handheldXPitch == 0 || hardware.handheldYPitch == 0 ||
        hardware.screenWidth < 0 || hardware.screenHeight < 0 || hardware.redMask16 > 0xFFFF)
        __builtin_trap();
    return 0;
}
