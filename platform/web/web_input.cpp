#include "platform/web/web_input.h"

void WebInputQueue::Push(const WebEvent& event) {
    if (count == kCapacity) {
        if (event.kind == WebEventKind::PointerMove) return;
        // Drop the oldest move to make room; with none, the oldest event.
        int32_t victim = 0;
        for (int32_t i = 0; i < count; ++i) {
            if (events[(first + i) % kCapacity].kind == WebEventKind::PointerMove) {
                victim = i;
                break;
            }
        }
        for (int32_t i = victim; i > 0; --i) events[(first + i) % kCapacity] = events[(first + i - 1) % kCapacity];
        first = (first + 1) % kCapacity;
        --count;
    }
    events[(first + count) % kCapacity] = event;
    ++count;
}

bool WebInputQueue::Pop(WebEvent& event) {
    if (count == 0) return false;
    event = events[first];
    first = (first + 1) % kCapacity;
    --count;
    return true;
}
