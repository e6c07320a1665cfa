// The stand-in window manager's records: user32's, shared with every library
// that finds a window by its handle (gdi32, DirectDraw, the dialog manager,
// the handheld's display library and shell).
#pragma once

#include <string>
#include <windows.h>

#include "standin/host/sdl_host.h"

namespace standin {

struct WindowRecord {
    HWND handle = nullptr;
    WNDPROC procedure = nullptr;
    std::string className;
    std::string title;
    DWORD style = 0;
    DWORD exStyle = 0;
    int32_t clientX = 0;  // the client area's top-left corner on the screen
    int32_t clientY = 0;
    int32_t clientWidth = 0;
    int32_t clientHeight = 0;
    HostWindow* host = nullptr;
    bool alive = false;
};

// The live window behind a handle, or null for a destroyed or unknown one.
WindowRecord* FindWindowRecord(HWND window);

// Makes a live window of the record and returns its handle.
HWND AddWindowRecord(const WindowRecord& record);

// The live window shown in a host window, or null.
WindowRecord* FindWindowByHost(HostWindow* host);

// Where keys go that arrive while no host window has the focus.
HostWindow* KeyboardWindow();

// Posts WM_CLOSE to every window on the screen: the user asked to quit.
// Returns how many windows were asked.
int32_t CloseEveryWindow();

// Calls the window's procedure at once; 0 for a window that is gone.
LRESULT SendToWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Forgets the queued messages of a window that is being destroyed.
void DropMessagesFor(HWND window);

// Turns pending host events into queued window messages.
void PumpHostEvents();

// Removes the first queued message for window (any window when null).
bool TakeMessage(HWND window, MSG& message);

// Whether a window of this style has a caption, and with it a frame.
inline bool HasCaption(DWORD style) { return (style & WS_CAPTION) == WS_CAPTION; }

}  // namespace standin
