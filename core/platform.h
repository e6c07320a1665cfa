// The boundary between the portable engine and the system it runs on. The
// engine owns this contract; each platform folder implements it from its own
// system calls, and tests implement it with small fakes.
#pragma once

#include <cstdint>

// The module instance handle the system hands to the entry point; the engine
// only passes it on to Display::Open.
using InstanceHandle = void*;

// Presentation: one Display per program, opened and closed by the driver.
class Display {
public:
    virtual ~Display() = default;

    // Opens the window and the graphics objects. May end the process itself
    // (a cancelled setup box). The driver does not test the result, so the
    // other three calls must be safe after a failed Open.
    virtual bool Open(InstanceHandle instance) = 0;

    // Takes and dispatches at most one pending window message; the window
    // procedure may update inputState meanwhile.
    virtual void PumpMessages() = 0;

    // Shows one 240 x 320 frame of 32-bit Pixels (0xAARRGGBB).
    virtual void Present(const uint32_t* pixels) = 0;

    virtual void Close() = 0;
};

// Written only by the platform's window procedure while PumpMessages runs;
// read by the driver and the game on the same thread.
struct InputState {
    int32_t quit = 0;        // 1 ends the main loop; never cleared
    int32_t buttonDown = 0;  // 1 while the left button or the stylus is down
    int32_t pointerX = 0;    // the pointer in BackBuffer coordinates
    int32_t pointerY = 0;
};

extern InputState inputState;

// System services the engine asks for, defined once per program.

// Writes the running executable's full path, NUL-terminated; returns its
// length, 0 when the system gives none, or -1 (and "") when it does not fit
// capacity: a cut path would name another folder.
int32_t SystemExecutablePath(char* buffer, int32_t capacity);

// The system's millisecond tick counter; wraps after 49.7 days.
uint32_t SystemTickCount();

// Makes the mouse pointer visible at the start of a turn; a no-op where there
// is no mouse pointer.
void SystemShowCursor();

// Writes the folder where this user's programs keep their state, with the
// program's own folder in it made if need be, ending in a separator
// ("/home/ann/.local/state/duckdemo/"); returns its length, or 0 (and "")
// when the system has none or it does not fit capacity.
int32_t SystemStateFolder(char* buffer, int32_t capacity);

// Claims name (letters, digits and '-') for this process until it ends.
// False when another running process holds it; true where the system has
// no way to tell.
bool SystemClaimName(const char* name);
