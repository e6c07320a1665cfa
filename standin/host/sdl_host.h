// The one place the window-system stand-ins talk to SDL video and events:
// host windows, their events, and showing pixels in them.
#pragma once

#include <stdint.h>

namespace standin {

struct HostWindow;

struct HostWindowOptions {
    bool bordered = true;     // a caption and a frame from the window manager
    bool fullscreen = false;  // borderless, covering the screen
    bool topmost = false;
    bool visible = false;
    int32_t scale = 1;  // the window is this many times the logical size
};

// Quit asks every window to close: the user interrupted the program (Ctrl+C,
// a termination signal) rather than closing one window.
enum class HostEventKind { None, Close, Quit, Move, MouseMove, ButtonDown, ButtonUp, KeyDown, KeyUp };

struct HostEvent {
    HostEventKind kind = HostEventKind::None;
    HostWindow* window = nullptr;  // null for keys pressed while no window has the focus
    int32_t x = 0;                 // MouseMove, ButtonDown, ButtonUp: in the window's logical pixels
    int32_t y = 0;
    uint32_t virtualKey = 0;  // KeyDown, KeyUp: the Win32 VK_ code
};

enum class HostPixelFormat { Argb8888, Bgr24, Rgb565, Rgb555 };

struct HostSize {
    int32_t width;
    int32_t height;
};

// Starts SDL video once. False when no video driver can start; every other
// call is then a safe no-op.
bool HostStart();

// True when the pictures reach a screen a person sees; false on a headless
// driver (offscreen, dummy), which SDL also falls back to when no screen answers.
bool HostHasScreen();

HostSize HostScreenSize();

// x, y: the client area's top-left corner on the screen; width, height: the
// client area, which is also the logical size of the pictures shown in it.
HostWindow* HostCreateWindow(const char* title, int32_t x, int32_t y, int32_t width, int32_t height,
                             const HostWindowOptions& options);
void HostDestroyWindow(HostWindow* window);
void HostShowWindow(HostWindow* window, bool visible);
void HostSetTopmost(HostWindow* window, bool topmost);
void HostSetFullscreen(HostWindow* window, bool fullscreen);
void HostSetBordered(HostWindow* window, bool bordered);

// How often a window went away from the person (minimised, or with the
// focus counted, switched from), and whether it is away now.
struct HostPresence {
    uint32_t departures = 0;
    bool away = false;
};
HostPresence HostWindowPresence(HostWindow* window, bool countFocus);
void HostRaiseWindow(HostWindow* window);
void HostMoveWindow(HostWindow* window, int32_t x, int32_t y, int32_t width, int32_t height);
// The size of the pictures shown in the window, without moving it.
void HostSetLogicalSize(HostWindow* window, int32_t width, int32_t height);
// The client area's top-left corner on the screen.
void HostWindowPosition(HostWindow* window, int32_t& x, int32_t& y);

bool HostPollEvent(HostEvent& event);

void HostShowCursor(bool visible);

// Shows a picture of the window's logical size, scaled by the largest whole
// factor that fits and centred. Waits for the display's next refresh, so a
// program presenting in a loop does not spin.
void HostPresent(HostWindow* window, const void* pixels, int32_t pitch, HostPixelFormat format, int32_t width,
                 int32_t height);

// Draws text into a 32-bit picture with a real font, blended over what is
// there. Returns the width drawn; 0 when no font is available.
int32_t HostDrawText(uint32_t* pixels, int32_t width, int32_t height, int32_t x, int32_t y, const char* utf8,
                     int32_t pixelSize, uint32_t colour);

// The width text would take, for layout.
int32_t HostTextWidth(const char* utf8, int32_t pixelSize);

}  // namespace standin
