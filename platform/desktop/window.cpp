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

HWND OpenMainWindow(HINSTANCE instance) {
    // Cancel ends the program here; a box that could not be shown leaves
    // every option off.
    if (RunSetupDialog(instance) == 0) exit(0);

    int32_t width = PictureWidth();
    int32_t height = PictureHeight();
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

    RECT outer = {0, 0, width, height};
    if (!setupOptions.fullscreen) AdjustWindowRectEx(&outer, style, FALSE, WS_EX_APPWINDOW);

    debugLog.Print("[gfx] CreateWindow()...\n");
    // Centred by the client size, so the client area sits a little right of
    // and below the screen's centre.
    int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    HWND window = CreateWindowExA(WS_EX_APPWINDOW, "qvWnd", "doZorava", style, x, y, outer.right - outer.left,
                                  outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
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
