#include "platform/desktop/window.h"

#include <stdlib.h>

#include "core/debug_log.h"
#include "core/platform.h"
#include "platform/desktop/convert.h"
#include "platform/desktop/setup_dialog.h"

RECT clientRect;
RECT screenClientRect;

namespace {

constexpr DWORD kFullscreenStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD kWindowedStyle = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;

void RefreshGeometry(HWND window) {
    GetClientRect(window, &clientRect);
    GetClientRect(window, &screenClientRect);
    POINT topLeft = {screenClientRect.left, screenClientRect.top};
    POINT bottomRight = {screenClientRect.right, screenClientRect.bottom};
    ClientToScreen(window, &topLeft);
    ClientToScreen(window, &bottomRight);
    screenClientRect = RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

}  // namespace

int32_t PictureWidth() { return PictureWidthFor(setupOptions.doubleSize != 0); }

int32_t PictureHeight() { return PictureHeightFor(setupOptions.doubleSize != 0); }

void MapPointer(LPARAM position, LONG doubleSize, int32_t& pointerX, int32_t& pointerY) {
    int32_t clientX = LOWORD(position);
    int32_t clientY = HIWORD(position);
    if (doubleSize) {
        clientX /= 2;
        clientY /= 2;
    }
    // 320, not 319: the left edge reads 320, one more than the row shown there.
    pointerX = clientY;
    pointerY = kBackBufferHeight - clientX;
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
        case WM_DESTROY:
            inputState.quit = 1;
            break;
        case WM_MOVE:
            RefreshGeometry(window);
            break;
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) {
                inputState.quit = 1;
                return 0;
            }
            break;
        case WM_MOUSEMOVE:
            MapPointer(lParam, setupOptions.doubleSize, inputState.pointerX, inputState.pointerY);
            break;
        case WM_LBUTTONDOWN:
            inputState.buttonDown = 1;
            MapPointer(lParam, setupOptions.doubleSize, inputState.pointerX, inputState.pointerY);
            break;
        case WM_LBUTTONUP:
            inputState.buttonDown = 0;
            break;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

namespace {

// The outer rectangle for a client area of the picture's size, and where it
// goes: centred by the client size, so the client area sits a little right
// of and below the screen's centre.
RECT PlaceWindow(DWORD style) {
    RECT outer = {0, 0, PictureWidth(), PictureHeight()};
    if (style == kWindowedStyle) AdjustWindowRectEx(&outer, style, FALSE, WS_EX_APPWINDOW);
    int x = (GetSystemMetrics(SM_CXSCREEN) - PictureWidth()) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - PictureHeight()) / 2;
    return RECT{x, y, x + outer.right - outer.left, y + outer.bottom - outer.top};
}

}  // namespace

void MakeWindowed(HWND window) {
    SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(kWindowedStyle));
    RECT placed = PlaceWindow(kWindowedStyle);
    SetWindowPos(window, nullptr, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top,
                 SWP_NOZORDER | SWP_FRAMECHANGED | SWP_SHOWWINDOW);
    RefreshGeometry(window);
}

HWND OpenMainWindow(HINSTANCE instance) {
    // Cancel ends the program here; a box that could not be shown leaves
    // every option off.
    if (RunSetupDialog(instance) == 0) exit(0);

    DWORD style = setupOptions.fullscreen ? kFullscreenStyle : kWindowedStyle;

    WNDCLASSA windowClass = {};
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = "qvWnd";
    debugLog.Print("[gfx] RegisterClass()...\n");
    if (RegisterClassA(&windowClass) == 0) {
        debugLog.StepFailed();
        return nullptr;
    }

    debugLog.Print("[gfx] CreateWindow()...\n");
    RECT placed = PlaceWindow(style);
    HWND window =
        CreateWindowExA(WS_EX_APPWINDOW, "qvWnd", "doZorava", style, placed.left, placed.top,
                        placed.right - placed.left, placed.bottom - placed.top, nullptr, nullptr, instance, nullptr);
    if (window == nullptr) {
        debugLog.StepFailed();
        return nullptr;
    }

    if (setupOptions.alwaysOnTop)
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetFocus(window);
    RefreshGeometry(window);
    return window;
}
