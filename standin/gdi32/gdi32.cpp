// Device contexts, as far as a window's bits per pixel goes.
#include <windows.h>

#include "standin/hardware/hardware.h"
#include "standin/user32/window_registry.h"

using namespace standin;

extern "C" {

// A window's device context is the window itself: every class we register
// owns its context, so there is one per window and nothing to release.
HDC WINAPI GetDC(HWND hWnd) {
    if (hWnd != nullptr && FindWindowRecord(hWnd) == nullptr) return nullptr;
    return reinterpret_cast<HDC>(hWnd != nullptr ? hWnd : reinterpret_cast<HWND>(~uintptr_t{0}));
}

int WINAPI GetDeviceCaps(HDC hdc, int index) {
    if (hdc == nullptr) return 0;
    return index == BITSPIXEL ? TheHardware().windowBitsPerPixel : 0;
}

HGDIOBJ WINAPI GetStockObject(int i) {
    static const int stockObjects[8] = {};
    return i >= 0 && i < 8 ? const_cast<int*>(&stockObjects[i]) : nullptr;
}

}  // extern "C"
