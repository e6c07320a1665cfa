#include "platform/pocketpc/display_gapi.h"

#include "core/debug_log.h"
#include "platform/pocketpc/convert.h"
#include "platform/pocketpc/window.h"

namespace {

// One refresh of a 60 Hz screen.
constexpr DWORD kRefreshMilliseconds = 16;

// The screen the picture is made for: 240 x 320 words, row after row.
bool IsNativeLayout(const GXDisplayProperties& properties) {
    return properties.cxWidth == 240 && properties.cyHeight == 320 && properties.cbxPitch == 2 &&
           properties.cbyPitch == 480;
}

bool CanHoldPicture(const GXDisplayProperties& properties) {
    return properties.cBPP == 16 && properties.cxWidth >= 240 && properties.cyHeight >= 320;
}

}  // namespace

bool PocketPcDisplay::Open(InstanceHandle instance) {
    properties = GXGetDisplayProperties();
    debugLog.Print("[gfx] GXGetDisplayProperties ->\n");
    debugLog.Print("[gfx]  * cBPP:     %d\n", static_cast<int>(properties.cBPP));
    debugLog.Print("[gfx]  * cbxPitch: %d\n", static_cast<int>(properties.cbxPitch));
    debugLog.Print("[gfx]  * cbyPitch: %d\n", static_cast<int>(properties.cbyPitch));
    debugLog.Print("[gfx]  * cxWidth:  %d\n", static_cast<int>(properties.cxWidth));
    debugLog.Print("[gfx]  * cyHeight: %d\n", static_cast<int>(properties.cyHeight));
    debugLog.Print("[gfx]  * ffFormat: %d\n", static_cast<int>(properties.ffFormat));
    keys = GXGetDefaultKeys(GX_NORMALKEYS);

    WNDCLASSW windowClass = {};
    windowClass.style = CS_VREDRAW | CS_HREDRAW;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = static_cast<HINSTANCE>(instance);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = L"DOZoravaClass";
    debugLog.Print("[gfx] RegisterClass()...\n");
    if (RegisterClassW(&windowClass) == 0) return debugLog.StepFailed();

    debugLog.Print("[gfx] CreateWindow()...\n");
    window = CreateWindowExW(0, L"DOZoravaClass", L"DOZorava 1.0", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, static_cast<HINSTANCE>(instance), nullptr);
    if (window == nullptr) return debugLog.StepFailed();

    debugLog.Print("[gfx] SHFullScreen()...\n");
    if (!SHFullScreen(window, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON | SHFS_HIDESTARTICON)) return debugLog.StepFailed();

    MoveWindow(window, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), TRUE);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    SetForegroundWindow(window);

    // Larger 16-bit screens are served through their pitches; a screen that
    // cannot hold the picture, or of another depth, is refused.
    if (!CanHoldPicture(properties)) {
        debugLog.Print("[gfx] Cannot show the 240x320 picture on a %dx%d screen of %d bits per pixel\n",
                       static_cast<int>(properties.cxWidth), static_cast<int>(properties.cyHeight),
                       static_cast<int>(properties.cBPP));
        return debugLog.StepFailed();
    }

    debugLog.Print("[gfx] GXOpenDisplay()...\n");
    if (GXOpenDisplay(window, GX_FULLSCREEN) <= 0) return debugLog.StepFailed();
    opened = true;
    return true;
}

void PocketPcDisplay::PumpMessages() {
    MSG message;
    if (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void PocketPcDisplay::Present(const uint32_t* pixels) {
    // With nothing to draw on (a failed Open, another program in front) the
    // loop still keeps to the screen's pace instead of spinning.
    auto* frameBuffer = opened ? static_cast<uint8_t*>(GXBeginDraw()) : nullptr;
    if (frameBuffer == nullptr) {
        Sleep(kRefreshMilliseconds);
        return;
    }
    if (IsNativeLayout(properties)) {
        ConvertTo565(pixels, reinterpret_cast<uint16_t*>(frameBuffer), properties.cxWidth * properties.cyHeight);
    } else {
        ConvertTo565Pitched(pixels, static_cast<int32_t>(properties.cxWidth), static_cast<int32_t>(properties.cyHeight),
                            frameBuffer, properties.cbxPitch, properties.cbyPitch);
    }
    GXEndDraw();
}

void PocketPcDisplay::Close() {
    if (opened) GXCloseDisplay();
    opened = false;
    debugLog.Print("[gfx] Closing...\n");
    DestroyWindow(window);
    RedrawWindow(nullptr, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}
