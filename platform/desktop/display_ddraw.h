// The desktop Display: the window phase, then DirectDraw 7, full screen in an
// exclusive mode or in a window; every frame turned, converted and shown.
#pragma once

#include "core/platform.h"
#include "platform/desktop/frame_pace.h"
#include "platform/desktop/win32.h"

class DesktopDisplay final : public Display {
public:
    bool Open(InstanceHandle instance) override;
    void PumpMessages() override;
    void Present(const uint32_t* pixels) override;
    void Close() override;

    LPDIRECTDRAW7 directDraw = nullptr;
    LPDIRECTDRAWSURFACE7 g_pDDSPrimary = nullptr;
    LPDIRECTDRAWSURFACE7 g_pDDSBack = nullptr;
    int32_t bpp = 0;  // of the back surface: 32, 24, 16 or 15 full screen; the desktop's when windowed
    HWND window = nullptr;

private:
    bool OpenFullscreen();
    bool OpenWindowed();
    HRESULT DrawAndShow(const uint32_t* pixels);
    bool RestoreSurfaces();

    FramePace pace;
    bool surfacesLost = false;  // until both surfaces are restored
};
