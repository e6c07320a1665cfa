// A capture's input script played back on the virtual clock, as the host's
// events: each line once its time has come, and a key released right after
// it is pressed.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "standin/capture/input_script.h"
#include "standin/host/host_capture.h"

namespace standin {

class ScriptPlayback {
public:
    explicit ScriptPlayback(std::vector<ScriptedInput> script) : script(std::move(script)) {}

    // The next event due at now. Once the capture is over only a pressed
    // key's release comes: more input would stand in the way of the quit.
    bool Next(int32_t now, bool captureOver, HostEvent& event);

private:
    std::vector<ScriptedInput> script;
    size_t next = 0;
    uint32_t pendingKeyUp = 0;
};

}  // namespace standin
