// Capture's input scripts: any text either reads as events that keep the
// script's promises or is refused with one line that names where.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "standin/capture/input_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<standin::ScriptedInput> events(1);
    std::string error;
    if (!standin::ParseInputScript(text, "fuzz.txt", events, error)) {
        if (events.size() != 1 || error.rfind("fuzz.txt:", 0) != 0 || error.find('\n') != std::string::npos)
            __builtin_trap();
        return 0;
    }
    int32_t lastTime = 0;
    for (const standin::ScriptedInput& event : events) {
        if (event.timeMilliseconds < lastTime || event.x < 0 || event.x > 65535 || event.y < 0 || event.y > 65535)
            __builtin_trap();
        if ((event.kind == standin::ScriptedInputKind::Key) != (event.virtualKey != 0)) __builtin_trap();
        lastTime = event.timeMilliseconds;
    }
    return 0;
}
