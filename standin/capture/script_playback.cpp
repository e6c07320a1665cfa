#include "standin/capture/script_playback.h"

namespace standin {

bool ScriptPlayback::Next(int32_t now, bool captureOver, HostEvent& event) {
    if (pendingKeyUp != 0) {
        event = HostEvent{};
        event.kind = HostEventKind::KeyUp;
        event.virtualKey = pendingKeyUp;
        pendingKeyUp = 0;
        return true;
    }
    if (captureOver || next >= script.size() || script[next].timeMilliseconds > now) return false;
    const ScriptedInput& input = script[next++];
    event = HostEvent{};
    event.x = input.x;
    event.y = input.y;
    switch (input.kind) {
        case ScriptedInputKind::Move:
            event.kind = HostEventKind::MouseMove;
            break;
        case ScriptedInputKind::Down:
            event.kind = HostEventKind::ButtonDown;
            break;
        case ScriptedInputKind::Up:
            event.kind = HostEventKind::ButtonUp;
            break;
        case ScriptedInputKind::Key:
            event.kind = HostEventKind::KeyDown;
            event.virtualKey = input.virtualKey;
            pendingKeyUp = input.virtualKey;
            break;
    }
    return true;
}

}  // namespace standin
