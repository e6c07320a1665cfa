// Windows, classes, the message queue and the cursor over SDL windows. A
// window's handle is its place in the registry, so a handle outlives the
// window safely: calls on a destroyed window fail instead of crashing.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>
#include <windows.h>

#include "standin/hardware/hardware.h"
#include "standin/host/sdl_host.h"
#include "standin/notice/not_implemented.h"
#include "standin/user32/window_registry.h"

namespace standin {
namespace {

struct WindowClass {
    std::string name;
    WNDPROC procedure;
};

std::vector<WindowClass>& Classes() {
    static std::vector<WindowClass> classes;
    return classes;
}

std::vector<std::unique_ptr<WindowRecord>>& Windows() {
    static std::vector<std::unique_ptr<WindowRecord>> windows;
    return windows;
}

HWND foregroundWindow = nullptr;
HWND focusWindow = nullptr;
int cursorCount = 0;

std::string Narrow(LPCWSTR text) {
    std::string narrow;
    for (; text != nullptr && *text != 0; ++text) narrow += *text < 0x80 ? static_cast<char>(*text) : '?';
    return narrow;
}

const WindowClass* FindClass(const std::string& name) {
    for (const WindowClass& windowClass : Classes())
        if (windowClass.name == name) return &windowClass;
    return nullptr;
}

ATOM AddClass(const std::string& name, WNDPROC procedure) {
    if (StepFails("RegisterClass") || name.empty() || procedure == nullptr || FindClass(name) != nullptr) return 0;
    Classes().push_back({name, procedure});
    return static_cast<ATOM>(0xC000 + Classes().size());
}

constexpr int32_t kFrameWidth = 3;
constexpr int32_t kCaptionHeight = 19;

// How far the caption and frame reach out from the client area on each side.
struct FrameInsets {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;
};

FrameInsets FrameOf(DWORD style) {
    if (!HasCaption(style)) return {0, 0, 0, 0};
    return {kFrameWidth, kFrameWidth + kCaptionHeight, kFrameWidth, kFrameWidth};
}

// The client area of a window of the record's style whose outer rectangle is
// at x, y of width by height.
void PlaceClientArea(WindowRecord& record, int x, int y, int width, int height) {
    FrameInsets frame = FrameOf(record.style);
    record.clientX = x + frame.left;
    record.clientY = y + frame.top;
    record.clientWidth = std::max(0, width - frame.left - frame.right);
    record.clientHeight = std::max(0, height - frame.top - frame.bottom);
}

HWND CreateWindowRecord(DWORD exStyle, const std::string& className, const std::string& title, DWORD style, int x,
                        int y, int width, int height) {
    const WindowClass* windowClass = FindClass(className);
    if (windowClass == nullptr || StepFails("CreateWindow")) return nullptr;

    HostSize screen = HostScreenSize();
    if (x == CW_USEDEFAULT) x = 0;
    if (y == CW_USEDEFAULT) y = 0;
    if (width == CW_USEDEFAULT) width = screen.width;
    if (height == CW_USEDEFAULT) height = screen.height;

    WindowRecord record;
    record.procedure = windowClass->procedure;
    record.className = className;
    record.title = title;
    record.style = style;
    record.exStyle = exStyle;
    PlaceClientArea(record, x, y, width, height);

    HostWindowOptions options;
    options.bordered = HasCaption(style);
    options.visible = (style & WS_VISIBLE) != 0;
    options.topmost = (exStyle & WS_EX_TOPMOST) != 0;
    options.scale = WindowScaleOn(screen.width, screen.height);
    record.host = HostCreateWindow(title.c_str(), record.clientX, record.clientY, record.clientWidth,
                                   record.clientHeight, options);
    if (record.host == nullptr) return nullptr;

    HWND window = AddWindowRecord(record);
    SendToWindow(window, WM_CREATE, 0, 0);
    SendToWindow(window, WM_SIZE, 0, MAKELPARAM(record.clientWidth, record.clientHeight));
    SendToWindow(window, WM_MOVE, 0, MAKELPARAM(record.clientX, record.clientY));
    return window;
}

}  // namespace

// Keys pressed while no host window has the focus go to the focus window,
// else the foreground one, else the newest window there is.
HostWindow* KeyboardWindow() {
    for (HWND candidate : {focusWindow, foregroundWindow}) {
        WindowRecord* record = FindWindowRecord(candidate);
        if (record != nullptr && record->host != nullptr) return record->host;
    }
    auto& windows = Windows();
    for (auto record = windows.rbegin(); record != windows.rend(); ++record)
        if ((*record)->alive && (*record)->host != nullptr) return (*record)->host;
    return nullptr;
}

WindowRecord* FindWindowByHost(HostWindow* host) {
    for (const auto& record : Windows())
        if (record->alive && host != nullptr && record->host == host) return record.get();
    return nullptr;
}

int32_t CloseEveryWindow() {
    int32_t asked = 0;
    for (const auto& record : Windows()) {
        if (record->alive && record->host != nullptr) {
            PostMessageA(record->handle, WM_CLOSE, 0, 0);
            ++asked;
        }
    }
    return asked;
}

WindowRecord* FindWindowRecord(HWND window) {
    auto index = reinterpret_cast<uintptr_t>(window);
    auto& windows = Windows();
    if (index == 0 || index > windows.size()) return nullptr;
    WindowRecord* record = windows[index - 1].get();
    return record->alive ? record : nullptr;
}

HWND AddWindowRecord(const WindowRecord& record) {
    auto& windows = Windows();
    windows.push_back(std::make_unique<WindowRecord>(record));
    WindowRecord& added = *windows.back();
    added.handle = reinterpret_cast<HWND>(static_cast<uintptr_t>(windows.size()));
    added.alive = true;
    return added.handle;
}

}  // namespace standin

using namespace standin;

extern "C" {

ATOM WINAPI RegisterClassA(const WNDCLASSA* lpWndClass) {
    if (lpWndClass == nullptr || lpWndClass->lpszClassName == nullptr) return 0;
    return AddClass(lpWndClass->lpszClassName, lpWndClass->lpfnWndProc);
}

ATOM WINAPI RegisterClassW(const WNDCLASSW* lpWndClass) {
    if (lpWndClass == nullptr || lpWndClass->lpszClassName == nullptr) return 0;
    return AddClass(Narrow(lpWndClass->lpszClassName), lpWndClass->lpfnWndProc);
}

BOOL WINAPI UnregisterClassA(LPCSTR lpClassName, HINSTANCE) {
    auto& classes = Classes();
    auto found = std::find_if(classes.begin(), classes.end(), [lpClassName](const WindowClass& windowClass) {
        return lpClassName != nullptr && windowClass.name == lpClassName;
    });
    if (found == classes.end()) return FALSE;
    classes.erase(found);
    return TRUE;
}

HWND WINAPI CreateWindowExA(DWORD dwExStyle, LPCSTR lpClassName, LPCSTR lpWindowName, DWORD dwStyle, int X, int Y,
                            int nWidth, int nHeight, HWND, HMENU, HINSTANCE, LPVOID) {
    if (lpClassName == nullptr) return nullptr;
    return CreateWindowRecord(dwExStyle, lpClassName, lpWindowName != nullptr ? lpWindowName : "", dwStyle, X, Y,
                              nWidth, nHeight);
}

HWND WINAPI CreateWindowExW(DWORD dwExStyle, LPCWSTR lpClassName, LPCWSTR lpWindowName, DWORD dwStyle, int X, int Y,
                            int nWidth, int nHeight, HWND, HMENU, HINSTANCE, LPVOID) {
    if (lpClassName == nullptr) return nullptr;
    return CreateWindowRecord(dwExStyle, Narrow(lpClassName), Narrow(lpWindowName), dwStyle, X, Y, nWidth, nHeight);
}

BOOL WINAPI DestroyWindow(HWND hWnd) {
    WindowRecord* record = FindWindowRecord(hWnd);
    if (record == nullptr) return FALSE;
    SendToWindow(hWnd, WM_DESTROY, 0, 0);
    record->alive = false;
    HostDestroyWindow(record->host);
    record->host = nullptr;
    DropMessagesFor(hWnd);
    if (foregroundWindow == hWnd) foregroundWindow = nullptr;
    if (focusWindow == hWnd) focusWindow = nullptr;
    return TRUE;
}

BOOL WINAPI IsWindow(HWND hWnd) { return FindWindowRecord(hWnd) != nullptr ? TRUE : FALSE; }

BOOL WINAPI ShowWindow(HWND hWnd, int nCmdShow) {
    WindowRecord* record = FindWindowRecord(hWnd);
    if (record == nullptr) return FALSE;
    bool wasVisible = (record->style & WS_VISIBLE) != 0;
    bool visible = nCmdShow != SW_HIDE;
    record->style = visible ? (record->style | WS_VISIBLE) : (record->style & ~static_cast<DWORD>(WS_VISIBLE));
    HostShowWindow(record->host, visible);
    return wasVisible ? TRUE : FALSE;
}

// No window here has an update region (the programs draw through their
// display libraries), so there is never a WM_PAINT to send.
BOOL WINAPI UpdateWindow(HWND hWnd) { return IsWindow(hWnd); }

BOOL WINAPI MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL) {
    WindowRecord* record = FindWindowRecord(hWnd);
    if (record == nullptr) return FALSE;
    PlaceClientArea(*record, X, Y, nWidth, nHeight);
    HostMoveWindow(record->host, record->clientX, record->clientY, record->clientWidth, record->clientHeight);
    SendToWindow(hWnd, WM_SIZE, 0, MAKELPARAM(record->clientWidth, record->clientHeight));
    SendToWindow(hWnd, WM_MOVE, 0, MAKELPARAM(record->clientX, record->clientY));
    return TRUE;
}

BOOL WINAPI SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags) {
    WindowRecord* record = FindWindowRecord(hWnd);
    if (record == nullptr) return FALSE;
    if (hWndInsertAfter == HWND_TOPMOST) HostSetTopmost(record->host, true);
    if (hWndInsertAfter == HWND_NOTOPMOST) HostSetTopmost(record->host, false);
    if ((uFlags & SWP_NOMOVE) == 0 || (uFlags & SWP_NOSIZE) == 0) {
        FrameInsets frame = FrameOf(record->style);
        int newX = (uFlags & SWP_NOMOVE) != 0 ? record->clientX - frame.left : X;
        int newY = (uFlags & SWP_NOMOVE) != 0 ? record->clientY - frame.top : Y;
        int newWidth = (uFlags & SWP_NOSIZE) != 0 ? record->clientWidth + frame.left + frame.right : cx;
        int newHeight = (uFlags & SWP_NOSIZE) != 0 ? record->clientHeight + frame.top + frame.bottom : cy;
        MoveWindow(hWnd, newX, newY, newWidth, newHeight, TRUE);
    }
    if ((uFlags & SWP_SHOWWINDOW) != 0) ShowWindow(hWnd, SW_SHOW);
    return TRUE;
}

// Only the style: a caption given or taken shows or hides the host window's
// border; the client area moves at the next SetWindowPos, as with
// SWP_FRAMECHANGED.
LONG WINAPI SetWindowLongA(HWND hWnd, int nIndex, LONG dwNewLong) {
    WindowRecord* record = FindWindowRecord(hWnd);
    if (record == nullptr) return 0;
    if (nIndex != GWL_STYLE) {
        SayNotImplemented("SetWindowLongA");
        return 0;
    }
    DWORD previous = record->style;
    record->style = static_cast<DWORD>(dwNewLong);
    HostSetBordered(record->host, HasCaption(record->style));
    return static_cast<LONG>(previous);
}

// A box here would block every unattended run and be seen by no test: the
// message goes to stderr, where a person at a terminal reads it, and the
// answer is OK.
int WINAPI MessageBoxA(HWND, LPCSTR lpText, LPCSTR lpCaption, UINT) {
    std::fprintf(stderr, "message box \"%s\": %s\n", lpCaption != nullptr ? lpCaption : "Error",
                 lpText != nullptr ? lpText : "");
    return IDOK;
}

BOOL WINAPI SetForegroundWindow(HWND hWnd) {
    WindowRecord* record = FindWindowRecord(hWnd);
    if (record == nullptr) return FALSE;
    HostRaiseWindow(record->host);
    foregroundWindow = hWnd;
    return TRUE;
}

HWND WINAPI SetFocus(HWND hWnd) {
    HWND previous = focusWindow;
    if (FindWindowRecord(hWnd) == nullptr) return nullptr;
    focusWindow = hWnd;
    return previous;
}

BOOL WINAPI GetClientRect(HWND hWnd, LPRECT lpRect) {
    WindowRecord* record = FindWindowRecord(hWnd);
    if (record == nullptr || lpRect == nullptr) return FALSE;
    *lpRect = RECT{0, 0, record->clientWidth, record->clientHeight};
    return TRUE;
}

BOOL WINAPI ClientToScreen(HWND hWnd, LPPOINT lpPoint) {
    WindowRecord* record = FindWindowRecord(hWnd);
    if (record == nullptr || lpPoint == nullptr) return FALSE;
    lpPoint->x += record->clientX;
    lpPoint->y += record->clientY;
    return TRUE;
}

BOOL WINAPI AdjustWindowRectEx(LPRECT lpRect, DWORD dwStyle, BOOL, DWORD) {
    if (lpRect == nullptr) return FALSE;
    FrameInsets frame = FrameOf(dwStyle);
    lpRect->left -= frame.left;
    lpRect->top -= frame.top;
    lpRect->right += frame.right;
    lpRect->bottom += frame.bottom;
    return TRUE;
}

int WINAPI GetSystemMetrics(int nIndex) {
    const Hardware& hardware = TheHardware();
    HostSize screen{hardware.screenWidth, hardware.screenHeight};
    if (screen.width <= 0 || screen.height <= 0) screen = HostScreenSize();
    if (nIndex == SM_CXSCREEN) return screen.width;
    if (nIndex == SM_CYSCREEN) return screen.height;
    return 0;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR lpCursorName) {
    return lpCursorName == IDC_ARROW ? reinterpret_cast<HCURSOR>(static_cast<uintptr_t>(32512)) : nullptr;
}

int WINAPI ShowCursor(BOOL bShow) {
    cursorCount += bShow ? 1 : -1;
    HostShowCursor(cursorCount >= 0);
    return cursorCount;
}

// Without a window it repaints the desktop, which on this system is the
// host's own and repaints itself once our window has gone.
BOOL WINAPI RedrawWindow(HWND hWnd, const RECT*, HRGN, UINT) {
    if (hWnd != nullptr) SayNotImplemented("RedrawWindow");
    return TRUE;
}

}  // extern "C"
