// Showing a picture in a host window, scaled and centred, at the pace of the
// display's refresh.
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "standin/host/host_window.h"
#include "standin/host/sdl_host.h"

namespace standin {
namespace {

uint32_t SdlFormatOf(HostPixelFormat format) {
    switch (format) {
        case HostPixelFormat::Argb8888:
            return SDL_PIXELFORMAT_ARGB8888;
        case HostPixelFormat::Bgr24:
            return SDL_PIXELFORMAT_BGR24;
        case HostPixelFormat::Rgb565:
            return SDL_PIXELFORMAT_RGB565;
        case HostPixelFormat::Rgb555:
            return SDL_PIXELFORMAT_RGB555;
    }
    return SDL_PIXELFORMAT_ARGB8888;
}

// The refresh the hardware would wait for; dummy and offscreen displays
// report none, so assume the common 60 Hz.
std::chrono::nanoseconds RefreshPeriod(SDL_Window* sdl) {
    SDL_DisplayMode mode{};
    int rate = SDL_GetWindowDisplayMode(sdl, &mode) == 0 && mode.refresh_rate > 0 ? mode.refresh_rate : 60;
    return std::chrono::nanoseconds(1'000'000'000 / rate);
}

void WaitForRefresh(HostWindow& window) {
    auto now = std::chrono::steady_clock::now();
    auto period = RefreshPeriod(window.sdl);
    if (window.nextRefresh > now) std::this_thread::sleep_until(window.nextRefresh);
    window.nextRefresh = std::max(now, window.nextRefresh) + period;
}

}  // namespace

void HostPresent(HostWindow* window, const void* pixels, int32_t pitch, HostPixelFormat format, int32_t width,
                 int32_t height) {
    if (window == nullptr || pixels == nullptr || width <= 0 || height <= 0) return;
    if (HostCapture* capture = CurrentCapture()) {
        capture->Present(window, pixels, pitch, format, width, height);
        return;
    }
    window->converted.resize(static_cast<size_t>(width) * height);
    window->pictureWidth = width;
    window->pictureHeight = height;
    SDL_ConvertPixels(width, height, SdlFormatOf(format), pixels, pitch, SDL_PIXELFORMAT_ARGB8888,
                      window->converted.data(), width * 4);

    SDL_Surface* screen = SDL_GetWindowSurface(window->sdl);
    SDL_Surface* picture = SDL_CreateRGBSurfaceWithFormatFrom(window->converted.data(), width, height, 32, width * 4,
                                                              SDL_PIXELFORMAT_ARGB8888);
    if (screen != nullptr && picture != nullptr) {
        // A display shows the colour bytes; the alpha byte means nothing to it.
        SDL_SetSurfaceBlendMode(picture, SDL_BLENDMODE_NONE);
        Placement placement = PlacementOf(*window);
        SDL_Rect target{placement.offsetX, placement.offsetY, width * placement.scale, height * placement.scale};
        if (placement.offsetX != 0 || placement.offsetY != 0) SDL_FillRect(screen, nullptr, 0);
        SDL_BlitScaled(picture, nullptr, screen, &target);
        SDL_UpdateWindowSurface(window->sdl);
    }
    SDL_FreeSurface(picture);
    WaitForRefresh(*window);
}

}  // namespace standin
