#include "platform/desktop/display_ddraw.h"

#include <stdlib.h>

#include "core/debug_log.h"
#include "platform/desktop/convert.h"
#include "platform/desktop/frame_pace.h"
#include "platform/desktop/setup_dialog.h"
#include "platform/desktop/start_problems.h"
#include "platform/desktop/window.h"

namespace {

// Tried in this order; 16 covers both 16-bit layouts.
constexpr int32_t kFullscreenDepths[] = {32, 24, 16};

// The turned picture, in static data: Present allocates nothing.
uint32_t stagingBuffer[kStagingMaxWidth * kStagingMaxHeight];

DDSURFACEDESC2 ClearedDescription() {
    DDSURFACEDESC2 description = {};
    description.dwSize = sizeof description;
    return description;
}

}  // namespace

bool DesktopDisplay::Open(InstanceHandle instance) {
    TellStartProblems();
    window = OpenMainWindow(static_cast<HINSTANCE>(instance));
    if (window == nullptr) return false;

    debugLog.Print("[gfx] DirectDrawCreateEx()...\n");
    if (DirectDrawCreateEx(nullptr, reinterpret_cast<LPVOID*>(&directDraw), IID_IDirectDraw7, nullptr) != DD_OK)
        return debugLog.StepFailed();

    debugLog.Print("[gfx] SetCooperativeLevel()...\n");
    return setupOptions.fullscreen ? OpenFullscreen() : OpenWindowed();
}

bool DesktopDisplay::OpenFullscreen() {
    if (directDraw->SetCooperativeLevel(window, DDSCL_EXCLUSIVE | DDSCL_FULLSCREEN) != DD_OK)
        return debugLog.StepFailed();

    bool modeSet = false;
    for (int32_t depth : kFullscreenDepths) {
        debugLog.Print("[gfx] SetDisplayMode(%d)...\n", depth);
        bpp = depth;
        if (directDraw->SetDisplayMode(PictureWidth(), PictureHeight(), depth, 0, 0) == DD_OK) {
            modeSet = true;
            break;
        }
    }
    if (!modeSet) {
        // The person still sees the show, in a window.
        debugLog.StepFailed();
        debugLog.Print("[gfx] No full-screen mode: opening a window instead\n");
        setupOptions.fullscreen = 0;
        MakeWindowed(window);
        return OpenWindowed();
    }

    if (bpp == 16) {
        DDSURFACEDESC2 mode = ClearedDescription();
        debugLog.Print("[gfx] GetDisplayMode(16)...\n");
        directDraw->GetDisplayMode(&mode);
        if (mode.ddpfPixelFormat.dwRBitMask == 0x7C00) {
            bpp = 15;
        } else if (mode.ddpfPixelFormat.dwRBitMask != 0xF800) {
            exit(0);  // a 16-bit layout we cannot write
        }
    }
    debugLog.Print("[gfx] bpp == %d...\n", bpp);

    DDSURFACEDESC2 description = ClearedDescription();
    description.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    description.dwBackBufferCount = 1;
    debugLog.Print("[gfx] CreateSurface()...\n");
    if (directDraw->CreateSurface(&description, &g_pDDSPrimary, nullptr) != DD_OK) return debugLog.StepFailed();

    DDSCAPS2 backBufferCaps = {DDSCAPS_BACKBUFFER, 0, 0, 0};
    debugLog.Print("[gfx] GetAttachedSurface()...\n");
    if (g_pDDSPrimary->GetAttachedSurface(&backBufferCaps, &g_pDDSBack) != DD_OK) return debugLog.StepFailed();

    ShowCursor(FALSE);  // the game shows it again when a turn begins
    return true;
}

bool DesktopDisplay::OpenWindowed() {
    if (directDraw->SetCooperativeLevel(window, DDSCL_NORMAL) != DD_OK) return debugLog.StepFailed();

    DDSURFACEDESC2 description = ClearedDescription();
    description.dwFlags = DDSD_CAPS;
    description.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    debugLog.Print("[gfx] CreateSurface(g_pDDSPrimary)...\n");
    if (directDraw->CreateSurface(&description, &g_pDDSPrimary, nullptr) != DD_OK) return debugLog.StepFailed();

    LPDIRECTDRAWCLIPPER clipper = nullptr;
    debugLog.Print("[gfx] CreateClipper()...\n");
    if (directDraw->CreateClipper(0, &clipper, nullptr) != DD_OK) return debugLog.StepFailed();
    clipper->SetHWnd(0, window);
    debugLog.Print("[gfx] SetClipper()...\n");
    HRESULT attached = g_pDDSPrimary->SetClipper(clipper);
    clipper->Release();  // the surface holds its own reference
    if (attached != DD_OK) return debugLog.StepFailed();

    description.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    description.dwWidth = PictureWidth();
    description.dwHeight = PictureHeight();
    description.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    debugLog.Print("[gfx] CreateSurface(g_pDDSBack)...\n");
    if (directDraw->CreateSurface(&description, &g_pDDSBack, nullptr) != DD_OK) return debugLog.StepFailed();

    bpp = GetDeviceCaps(GetDC(window), BITSPIXEL);
    return true;
}

void DesktopDisplay::PumpMessages() {
    MSG message;
    if (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void DesktopDisplay::Present(const uint32_t* pixels) {
    // Every mode keeps to the screen's pace, even with nothing to draw on
    // after a failed Open.
    DWORD wait = WaitBeforeFrame(pace, GetTickCount());
    if (wait > 0) Sleep(wait);
    if (g_pDDSBack == nullptr || g_pDDSPrimary == nullptr) return;

    // While the window is away (minimised, or switched from in full screen)
    // nothing can be restored, and the frame is skipped.
    if (surfacesLost && !RestoreSurfaces()) return;
    if (DrawAndShow(pixels) != DDERR_SURFACELOST) return;
    surfacesLost = true;
    debugLog.Print("[gfx] Restore()...\n");
    if (RestoreSurfaces()) DrawAndShow(pixels);
}

HRESULT DesktopDisplay::DrawAndShow(const uint32_t* pixels) {
    DDSURFACEDESC2 surface = ClearedDescription();
    HRESULT locked = g_pDDSBack->Lock(nullptr, &surface, DDLOCK_WAIT, nullptr);
    if (locked != DD_OK || surface.lpSurface == nullptr) return locked;
    TurnAndConvert(pixels, setupOptions.doubleSize != 0, stagingBuffer, bpp, static_cast<uint8_t*>(surface.lpSurface),
                   surface.lPitch, surface.dwWidth, surface.dwHeight);
    g_pDDSBack->Unlock(nullptr);
    if (setupOptions.fullscreen) return g_pDDSPrimary->Flip(nullptr, 0);
    return g_pDDSPrimary->Blt(&screenClientRect, g_pDDSBack, &clientRect, DDBLT_WAIT, nullptr);
}

// The primary first: in full screen it brings its back buffer with it.
bool DesktopDisplay::RestoreSurfaces() {
    if (g_pDDSPrimary->Restore() != DD_OK || g_pDDSBack->Restore() != DD_OK) return false;
    surfacesLost = false;
    return true;
}

void DesktopDisplay::Close() {
    debugLog.Print("[gfx] Close()...\n");
    if (directDraw != nullptr) {
        directDraw->SetCooperativeLevel(window, DDSCL_NORMAL);
        if (g_pDDSBack != nullptr) {
            g_pDDSBack->Release();
            g_pDDSBack = nullptr;
        }
        if (g_pDDSPrimary != nullptr) {
            g_pDDSPrimary->Release();
            g_pDDSPrimary = nullptr;
        }
        directDraw->Release();
        directDraw = nullptr;
    }
    DestroyWindow(window);
}
