// The page's input events, queued as they come and handed to the program one
// a pass, as the other programs' message pumps take one window message.
#pragma once

#include <cstdint>

enum class WebEventKind : int32_t { PointerMove, ButtonDown, ButtonUp, Quit };

// Where on the canvas, in its own pixels (before the page's scaling).
struct WebEvent {
    WebEventKind kind = WebEventKind::PointerMove;
    int32_t x = 0;
    int32_t y = 0;
};

class WebInputQueue {
public:
    // A full queue drops the new event, but never a button or a quit, which
    // take the place of the oldest move instead.
    void Push(const WebEvent& event);
    bool Pop(WebEvent& event);

private:
    static constexpr int32_t kCapacity = 64;
    WebEvent events[kCapacity];
    int32_t first = 0;
    int32_t count = 0;
};
