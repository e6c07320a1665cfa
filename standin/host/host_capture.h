// Capture mode: the host starts no SDL video and opens no window on a
// screen; what it would show goes to the capture, and its events come from
// the capture's script.
#pragma once

#include <stdint.h>

#include "standin/host/sdl_host.h"

namespace standin {

class HostCapture {
public:
    virtual ~HostCapture() = default;

    // A picture a window shows, as it would reach the screen.
    virtual void Present(HostWindow* window, const void* pixels, int32_t pitch, HostPixelFormat format, int32_t width,
                         int32_t height) = 0;

    // The next input due, if any. Positions are in the window's own pixels,
    // as a mouse gives them; a null window means the newest one.
    virtual bool PollEvent(HostEvent& event) = 0;
};

// Before anything starts the window system.
void HostCaptureTo(HostCapture* capture);
bool HostIsCapturing();

}  // namespace standin
