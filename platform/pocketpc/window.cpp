#include "platform/pocketpc/window.h"

#include "core/platform.h"

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
        case WM_DESTROY:
            inputState.quit = 1;
            break;
        case WM_KEYDOWN:
            PostMessageW(window, WM_CLOSE, 0, 0);
            break;
        // The screen is the BackBuffer, untransformed, and the pointer moves
        // only when the stylus touches it.
        case WM_LBUTTONDOWN:
            inputState.buttonDown = 1;
            inputState.pointerX = LOWORD(lParam);
            inputState.pointerY = HIWORD(lParam);
            break;
        case WM_LBUTTONUP:
            inputState.buttonDown = 0;
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
