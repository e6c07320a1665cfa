// DirectDraw 7 over the stand-in windows: surfaces are real memory in the
// asked pixel format, so Lock hands out a real pointer and pitch; Flip and
// Blt show that memory in the window. An exclusive mode is the cooperative
// window made borderless and full screen, the picture scaled by whole factors.
#include <algorithm>
#include <atomic>
#include <cstring>
#include <ddraw.h>
#include <vector>

#include "standin/hardware/hardware.h"
#include "standin/host/sdl_host.h"
#include "standin/user32/window_registry.h"

const IID IID_IDirectDraw7 = {0x15e65ec0, 0x3b9c, 0x11d2, {0xb9, 0x2f, 0x00, 0x60, 0x97, 0x97, 0xea, 0x5b}};

namespace standin {
namespace {

struct PixelLayout {
    int32_t bitsPerPixel = 32;  // 15 stands for 5-5-5 in 16-bit words
    DWORD redMask = 0x00FF0000;
    DWORD greenMask = 0x0000FF00;
    DWORD blueMask = 0x000000FF;
};

PixelLayout LayoutForDepth(int32_t depth) {
    switch (depth) {
        case 24:
            return {24, 0xFF0000, 0x00FF00, 0x0000FF};
        case 16:
            return TheHardware().redMask16 == 0x7C00 ? PixelLayout{15, 0x7C00, 0x03E0, 0x001F}
                                                     : PixelLayout{16, TheHardware().redMask16, 0x07E0, 0x001F};
        case 15:
            return {15, 0x7C00, 0x03E0, 0x001F};
        case 8:
            return {8, 0, 0, 0};
        default:
            return {32, 0xFF0000, 0x00FF00, 0x0000FF};
    }
}

int32_t BytesPerPixel(const PixelLayout& layout) { return (layout.bitsPerPixel + 1) / 8; }

bool HostFormatOf(const PixelLayout& layout, HostPixelFormat& format) {
    switch (layout.bitsPerPixel) {
        case 32:
            format = HostPixelFormat::Argb8888;
            return true;
        case 24:
            format = HostPixelFormat::Bgr24;
            return true;
        case 16:
            format = HostPixelFormat::Rgb565;
            return layout.redMask == 0xF800;
        case 15:
            format = HostPixelFormat::Rgb555;
            return true;
        default:
            return false;
    }
}

void FillPixelFormat(const PixelLayout& layout, DDPIXELFORMAT& format) {
    format = DDPIXELFORMAT{};
    format.dwSize = sizeof(DDPIXELFORMAT);
    format.dwFlags = DDPF_RGB;
    format.dwRGBBitCount = layout.bitsPerPixel == 15 ? 16 : static_cast<DWORD>(layout.bitsPerPixel);
    format.dwRBitMask = layout.redMask;
    format.dwGBitMask = layout.greenMask;
    format.dwBBitMask = layout.blueMask;
}

template <typename Interface>
class RefCounted : public Interface {
public:
    HRESULT QueryInterface(REFIID, LPVOID* object) override {
        if (object != nullptr) *object = nullptr;
        return DDERR_GENERIC;
    }
    ULONG AddRef() override { return ++references; }
    ULONG Release() override {
        ULONG left = --references;
        if (left == 0) delete this;
        return left;
    }
    virtual ~RefCounted() = default;

private:
    std::atomic<ULONG> references{1};
};

class Clipper final : public RefCounted<IDirectDrawClipper> {
public:
    HRESULT SetHWnd(DWORD, HWND hWnd) override {
        window = hWnd;
        return DD_OK;
    }

    HWND window = nullptr;
};

class DirectDrawObject;

class Surface final : public RefCounted<IDirectDrawSurface7> {
public:
    Surface(DirectDrawObject& owner, const PixelLayout& pixelLayout, int32_t surfaceWidth, int32_t surfaceHeight,
            bool allocate);
    ~Surface() override {
        if (clipper != nullptr) clipper->Release();
        if (attached != nullptr) attached->Release();
    }

    HRESULT Blt(LPRECT, LPDIRECTDRAWSURFACE7 source, LPRECT sourceRect, DWORD, LPDDBLTFX) override;
    HRESULT Flip(LPDIRECTDRAWSURFACE7, DWORD) override;
    HRESULT GetAttachedSurface(LPDDSCAPS2 caps, LPDIRECTDRAWSURFACE7* surface) override {
        if (surface == nullptr || caps == nullptr) return DDERR_INVALIDPARAMS;
        *surface = nullptr;
        if (StepFails("GetAttachedSurface") || attached == nullptr || (caps->dwCaps & DDSCAPS_BACKBUFFER) == 0)
            return DDERR_NOTFOUND;
        attached->AddRef();
        *surface = attached;
        return DD_OK;
    }
    HRESULT IsLost() override { return Lost() ? DDERR_SURFACELOST : DD_OK; }
    HRESULT Lock(LPRECT, LPDDSURFACEDESC2 description, DWORD, HANDLE) override {
        if (description == nullptr) return DDERR_INVALIDPARAMS;
        if (StepFails("Lock") || memory.empty() || Lost()) {
            description->lpSurface = nullptr;
            return DDERR_SURFACELOST;
        }
        Describe(*description, true);
        locked = true;
        return DD_OK;
    }
    HRESULT Restore() override;
    HRESULT SetClipper(LPDIRECTDRAWCLIPPER newClipper) override {
        if (StepFails("SetClipper")) return DDERR_GENERIC;
        if (newClipper != nullptr) newClipper->AddRef();
        if (clipper != nullptr) clipper->Release();
        clipper = static_cast<Clipper*>(newClipper);
        return DD_OK;
    }
    HRESULT Unlock(LPRECT) override {
        if (!locked) return DDERR_NOTLOCKED;
        locked = false;
        return DD_OK;
    }

    bool Lost() const;

    void Describe(DDSURFACEDESC2& description, bool withMemory) {
        DWORD size = description.dwSize;
        description = DDSURFACEDESC2{};
        description.dwSize = size;
        description.dwFlags =
            DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT | (withMemory ? DDSD_LPSURFACE : 0);
        description.dwWidth = static_cast<DWORD>(width);
        description.dwHeight = static_cast<DWORD>(height);
        description.lPitch = pitch;
        description.lpSurface = withMemory ? memory.data() : nullptr;
        FillPixelFormat(layout, description.ddpfPixelFormat);
    }

    void Show(HWND window, const uint8_t* pixels, int32_t showWidth, int32_t showHeight) const {
        WindowRecord* record = FindWindowRecord(window);
        HostPixelFormat format;
        if (record == nullptr || !HostFormatOf(layout, format)) return;
        HostPresent(record->host, pixels, pitch, format, showWidth, showHeight);
    }

    DirectDrawObject& display;
    PixelLayout layout;
    int32_t width;
    int32_t height;
    int32_t pitch = 0;
    std::vector<uint8_t> memory;
    bool primary = false;
    bool locked = false;
    uint32_t generation = 0;      // the display's when made or last restored
    Surface* attached = nullptr;  // the flip chain's back buffer
    Clipper* clipper = nullptr;
};

class DirectDrawObject final : public RefCounted<IDirectDraw7> {
public:
    HRESULT CreateClipper(DWORD, LPDIRECTDRAWCLIPPER* clipper, IUnknown*) override {
        if (clipper == nullptr) return DDERR_INVALIDPARAMS;
        *clipper = nullptr;
        if (StepFails("CreateClipper")) return DDERR_GENERIC;
        *clipper = new Clipper;
        return DD_OK;
    }

    HRESULT CreateSurface(LPDDSURFACEDESC2 description, LPDIRECTDRAWSURFACE7* surface, IUnknown*) override {
        if (description == nullptr || surface == nullptr) return DDERR_INVALIDPARAMS;
        *surface = nullptr;
        DWORD caps = description->ddsCaps.dwCaps;
        if ((caps & DDSCAPS_PRIMARYSURFACE) != 0) return CreatePrimary(*description, surface);
        if ((caps & DDSCAPS_OFFSCREENPLAIN) != 0 && (description->dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != 0) {
            if (StepFails("CreateOffscreenSurface")) return DDERR_OUTOFMEMORY;
            int32_t width = static_cast<int32_t>(description->dwWidth);
            int32_t height = static_cast<int32_t>(description->dwHeight);
            if (width <= 0 || height <= 0 || width > 8192 || height > 8192) return DDERR_INVALIDPARAMS;
            *surface = new Surface(*this, CurrentLayout(), width, height, true);
            return DD_OK;
        }
        return DDERR_INVALIDPARAMS;
    }

    HRESULT GetDisplayMode(LPDDSURFACEDESC2 description) override {
        if (description == nullptr) return DDERR_INVALIDPARAMS;
        DWORD size = description->dwSize;
        *description = DDSURFACEDESC2{};
        description->dwSize = size;
        description->dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
        description->dwWidth = static_cast<DWORD>(modeSet ? modeWidth : GetSystemMetrics(SM_CXSCREEN));
        description->dwHeight = static_cast<DWORD>(modeSet ? modeHeight : GetSystemMetrics(SM_CYSCREEN));
        FillPixelFormat(CurrentLayout(), description->ddpfPixelFormat);
        return DD_OK;
    }

    HRESULT SetCooperativeLevel(HWND hWnd, DWORD flags) override {
        if (StepFails("SetCooperativeLevel")) return DDERR_GENERIC;
        bool wantsExclusive = (flags & DDSCL_EXCLUSIVE) != 0 && (flags & DDSCL_FULLSCREEN) != 0;
        if ((flags & DDSCL_EXCLUSIVE) != 0 && FindWindowRecord(hWnd) == nullptr) return DDERR_INVALIDPARAMS;
        if (!wantsExclusive) LeaveExclusiveMode();
        window = hWnd;
        exclusive = wantsExclusive;
        seenDepartures = Presence().departures;
        return DD_OK;
    }

    HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD depth, DWORD, DWORD) override {
        if (!exclusive) return DDERR_NOEXCLUSIVEMODE;
        const Hardware& hardware = TheHardware();
        bool accepted = (depth == 32 && hardware.accepts32) || (depth == 24 && hardware.accepts24) ||
                        (depth == 16 && hardware.accepts16);
        if (!accepted || width == 0 || height == 0 || width > 4096 || height > 4096) return DDERR_UNSUPPORTEDMODE;
        modeSet = true;
        modeWidth = static_cast<int32_t>(width);
        modeHeight = static_cast<int32_t>(height);
        modeDepth = static_cast<int32_t>(depth);
        if (WindowRecord* record = FindWindowRecord(window)) {
            HostSetLogicalSize(record->host, modeWidth, modeHeight);
            HostSetFullscreen(record->host, true);
        }
        return DD_OK;
    }

    // Every surface is lost once the window goes away from the person:
    // minimised, or in an exclusive mode switched from. Returns whether it
    // is away now, when nothing can be restored.
    bool NoticeDepartures() {
        HostPresence presence = Presence();
        if (presence.departures != seenDepartures) {
            seenDepartures = presence.departures;
            ++generation;
        }
        return presence.away;
    }

    // Back from being away: an exclusive mode takes the screen again.
    void Return() {
        WindowRecord* record = FindWindowRecord(window);
        if (record == nullptr || !modeSet) return;
        HostSetFullscreen(record->host, true);
        HostRaiseWindow(record->host);
    }

    PixelLayout CurrentLayout() const { return LayoutForDepth(modeSet ? modeDepth : TheHardware().windowBitsPerPixel); }

    HWND window = nullptr;
    bool exclusive = false;
    uint32_t generation = 0;

private:
    HostPresence Presence() const {
        WindowRecord* record = FindWindowRecord(window);
        return record != nullptr ? HostWindowPresence(record->host, exclusive) : HostPresence{};
    }

    HRESULT CreatePrimary(const DDSURFACEDESC2& description, LPDIRECTDRAWSURFACE7* surface) {
        if (StepFails("CreateSurface")) return DDERR_GENERIC;
        DWORD caps = description.ddsCaps.dwCaps;
        bool flipChain = (caps & DDSCAPS_FLIP) != 0;
        if (!flipChain) {
            // The desktop itself: only a target for Blt, through a clipper.
            auto* desktop = new Surface(*this, CurrentLayout(), GetSystemMetrics(SM_CXSCREEN),
                                        GetSystemMetrics(SM_CYSCREEN), false);
            desktop->primary = true;
            *surface = desktop;
            return DD_OK;
        }
        bool oneBackBuffer = (description.dwFlags & DDSD_BACKBUFFERCOUNT) != 0 && description.dwBackBufferCount == 1;
        if (!exclusive || !modeSet || !oneBackBuffer) return DDERR_NOEXCLUSIVEMODE;
        auto* front = new Surface(*this, CurrentLayout(), modeWidth, modeHeight, true);
        front->primary = true;
        front->attached = new Surface(*this, CurrentLayout(), modeWidth, modeHeight, true);
        *surface = front;
        return DD_OK;
    }

    void LeaveExclusiveMode() {
        if (exclusive || modeSet) {
            if (WindowRecord* record = FindWindowRecord(window)) HostSetFullscreen(record->host, false);
        }
        modeSet = false;
    }

    bool modeSet = false;
    int32_t modeWidth = 0;
    int32_t modeHeight = 0;
    int32_t modeDepth = 32;
    uint32_t seenDepartures = 0;
};

Surface::Surface(DirectDrawObject& owner, const PixelLayout& pixelLayout, int32_t surfaceWidth, int32_t surfaceHeight,
                 bool allocate)
    : display(owner), layout(pixelLayout), width(surfaceWidth), height(surfaceHeight), generation(owner.generation) {
    pitch = (width * BytesPerPixel(layout) + 3) & ~3;
    if (allocate) memory.assign(static_cast<size_t>(pitch) * height, 0);
}

bool Surface::Lost() const {
    display.NoticeDepartures();
    return generation != display.generation;
}

// Fails while the window is still away. A restored surface's memory is
// there again but its picture is not: the program draws it anew.
HRESULT Surface::Restore() {
    if (display.NoticeDepartures()) return DDERR_WRONGMODE;
    if (generation == display.generation) return DD_OK;
    for (Surface* surface : {this, attached}) {
        if (surface == nullptr) continue;
        surface->generation = display.generation;
        std::fill(surface->memory.begin(), surface->memory.end(), uint8_t{0});
    }
    if (primary) display.Return();
    return DD_OK;
}

HRESULT Surface::Flip(LPDIRECTDRAWSURFACE7, DWORD) {
    if (!primary || attached == nullptr) return DDERR_INVALIDPARAMS;
    if (Lost() || attached->Lost()) return DDERR_SURFACELOST;
    memory.swap(attached->memory);
    Show(display.window, memory.data(), width, height);
    return DD_OK;
}

// Only what a windowed program does: the whole off-screen picture onto the
// desktop at the client area of the clipper's window.
HRESULT Surface::Blt(LPRECT, LPDIRECTDRAWSURFACE7 source, LPRECT sourceRect, DWORD, LPDDBLTFX) {
    auto* from = static_cast<Surface*>(source);
    if (!primary || from == nullptr || from->memory.empty()) return DDERR_INVALIDPARAMS;
    if (clipper == nullptr) return DDERR_NOCLIPPERATTACHED;
    if (Lost() || from->Lost()) return DDERR_SURFACELOST;
    RECT area{0, 0, from->width, from->height};
    if (sourceRect != nullptr) area = *sourceRect;
    area.left = std::max<LONG>(area.left, 0);
    area.top = std::max<LONG>(area.top, 0);
    area.right = std::min<LONG>(area.right, from->width);
    area.bottom = std::min<LONG>(area.bottom, from->height);
    if (area.right <= area.left || area.bottom <= area.top) return DD_OK;
    const uint8_t* start = from->memory.data() + area.top * from->pitch + area.left * BytesPerPixel(from->layout);
    from->Show(clipper->window, start, area.right - area.left, area.bottom - area.top);
    return DD_OK;
}

}  // namespace
}  // namespace standin

extern "C" HRESULT WINAPI DirectDrawCreateEx(GUID* lpGuid, LPVOID* lplpDD, REFIID iid, IUnknown* pUnkOuter) {
    if (lplpDD == nullptr) return DDERR_INVALIDPARAMS;
    *lplpDD = nullptr;
    bool sevenAsked = std::memcmp(&iid, &IID_IDirectDraw7, sizeof(IID)) == 0;
    if (lpGuid != nullptr || pUnkOuter != nullptr || !sevenAsked) return DDERR_INVALIDPARAMS;
    if (standin::StepFails("DirectDrawCreateEx")) return DDERR_GENERIC;
    *lplpDD = static_cast<IDirectDraw7*>(new standin::DirectDrawObject);
    return DD_OK;
}
