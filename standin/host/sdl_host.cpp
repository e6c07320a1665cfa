#include "standin/host/sdl_host.h"

#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <thread>
#include <vector>

#include "standin/entry/process_start.h"

namespace standin {

struct HostWindow {
    SDL_Window* sdl = nullptr;
    int32_t width = 0;  // logical size of what is shown in it
    int32_t height = 0;
    bool topmost = false;
    int32_t scale = 1;                // of the window's size over its logical size
    std::vector<uint32_t> converted;  // the last picture, as 32-bit ARGB
    std::chrono::steady_clock::time_point nextRefresh;
    HostWindow* next = nullptr;  // every live window, for the end of the process
};

namespace {

constexpr const char* kFontPaths[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/TTF/DejaVuSans.ttf",
};

bool started = false;
bool startFailed = false;

HostWindow* FromSdl(uint32_t windowId) {
    SDL_Window* sdl = SDL_GetWindowFromID(windowId);
    return sdl != nullptr ? static_cast<HostWindow*>(SDL_GetWindowData(sdl, "host")) : nullptr;
}

// Pictures are shown at the largest whole factor that fits, centred.
struct Placement {
    int32_t scale;
    int32_t offsetX;
    int32_t offsetY;
};

Placement PlacementOf(const HostWindow& window) {
    int windowWidth = 0;
    int windowHeight = 0;
    SDL_GetWindowSize(window.sdl, &windowWidth, &windowHeight);
    int32_t scale = 1;
    if (window.width > 0 && window.height > 0)
        scale = std::max(1, std::min(windowWidth / window.width, windowHeight / window.height));
    return {scale, (windowWidth - window.width * scale) / 2, (windowHeight - window.height * scale) / 2};
}

uint32_t VirtualKeyOf(SDL_Keycode key) {
    if (key >= SDLK_a && key <= SDLK_z) return static_cast<uint32_t>('A' + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<uint32_t>('0' + (key - SDLK_0));
    switch (key) {
        case SDLK_ESCAPE:
            return 0x1B;
        case SDLK_RETURN:
        case SDLK_KP_ENTER:
            return 0x0D;
        case SDLK_SPACE:
            return 0x20;
        case SDLK_TAB:
            return 0x09;
        case SDLK_BACKSPACE:
            return 0x08;
        case SDLK_LEFT:
            return 0x25;
        case SDLK_UP:
            return 0x26;
        case SDLK_RIGHT:
            return 0x27;
        case SDLK_DOWN:
            return 0x28;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return 0x10;
        default:
            return 0xE8;  // a key with no code of its own still counts as a key
    }
}

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

// Plain data, so it outlives every destructor and the exit handler below
// can still close what it holds.
struct OpenFont {
    int32_t size;
    TTF_Font* font;
};
OpenFont openFonts[8];
int openFontCount = 0;

TTF_Font* FontOfSize(int32_t pixelSize) {
    for (int i = 0; i < openFontCount; ++i)
        if (openFonts[i].size == pixelSize) return openFonts[i].font;
    if (openFontCount == static_cast<int>(std::size(openFonts))) return nullptr;
    if (!TTF_WasInit() && TTF_Init() != 0) return nullptr;
    for (const char* path : kFontPaths) {
        if (TTF_Font* font = TTF_OpenFont(path, pixelSize)) {
            openFonts[openFontCount++] = {pixelSize, font};
            return font;
        }
    }
    static bool warned = false;
    if (!warned) std::fprintf(stderr, "warning: no font found for the dialog's text (%s)\n", TTF_GetError());
    warned = true;
    return nullptr;
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

HostWindow* firstWindow = nullptr;

// At the process's end, after the program's own exit handlers that were
// registered later: windows left open (the program may end from anywhere),
// the fonts and SDL give back what they hold.
void HostStop() {
    while (firstWindow != nullptr) HostDestroyWindow(firstWindow);
    for (int i = 0; i < openFontCount; ++i) TTF_CloseFont(openFonts[i].font);
    openFontCount = 0;
    if (TTF_WasInit()) TTF_Quit();
    SDL_Quit();
}

bool IsHeadless(const char* driver) {
    return driver == nullptr || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

}  // namespace

bool HostStart() {
    if (started) return true;
    if (startFailed) return false;
    // Pictures are put on the screen as they are, as a frame buffer would: no
    // GPU renderer behind the window surface, which would also recreate the
    // window under a program that already holds its handle.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // The process entry turns signals into a quit itself, and a window that
    // closes says so with its own event.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        startFailed = true;
        RequireScreen(false);
        std::fprintf(stderr, "warning: no display available (%s)\n", SDL_GetError());
        return false;
    }
    started = true;
    std::atexit(HostStop);
    RequireScreen(!IsHeadless(SDL_GetCurrentVideoDriver()));
    return true;
}

bool HostHasScreen() { return HostStart() && !IsHeadless(SDL_GetCurrentVideoDriver()); }

HostSize HostScreenSize() {
    SDL_DisplayMode mode{};
    if (!HostStart() || SDL_GetDesktopDisplayMode(0, &mode) != 0) return {1024, 768};
    return {mode.w, mode.h};
}

HostWindow* HostCreateWindow(const char* title, int32_t x, int32_t y, int32_t width, int32_t height,
                             const HostWindowOptions& options) {
    if (!HostStart()) return nullptr;
    uint32_t flags = options.visible ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN;
    if (!options.bordered) flags |= SDL_WINDOW_BORDERLESS;
    if (options.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (options.topmost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    int32_t scale = std::max(options.scale, 1);
    SDL_Window* sdl = SDL_CreateWindow(title, x, y, std::max(width * scale, 1), std::max(height * scale, 1), flags);
    if (sdl == nullptr) {
        std::fprintf(stderr, "warning: cannot create a window (%s)\n", SDL_GetError());
        return nullptr;
    }
    auto* window = new HostWindow;
    window->sdl = sdl;
    window->width = width;
    window->height = height;
    window->topmost = options.topmost;
    window->scale = scale;
    window->next = firstWindow;
    firstWindow = window;
    SDL_SetWindowData(sdl, "host", window);
    return window;
}

void HostDestroyWindow(HostWindow* window) {
    if (window == nullptr) return;
    for (HostWindow** link = &firstWindow; *link != nullptr; link = &(*link)->next) {
        if (*link == window) {
            *link = window->next;
            break;
        }
    }
    SDL_DestroyWindow(window->sdl);
    delete window;
}

void HostShowWindow(HostWindow* window, bool visible) {
    if (window == nullptr) return;
    if (visible) {
        SDL_ShowWindow(window->sdl);
    } else {
        SDL_HideWindow(window->sdl);
    }
}

void HostSetTopmost(HostWindow* window, bool topmost) {
    if (window == nullptr) return;
    window->topmost = topmost;
    SDL_SetWindowAlwaysOnTop(window->sdl, topmost ? SDL_TRUE : SDL_FALSE);
}

bool HostWindowIsTopmost(HostWindow* window) { return window != nullptr && window->topmost; }

void HostSetFullscreen(HostWindow* window, bool fullscreen) {
    if (window == nullptr) return;
    // A borderless window covering the screen: what an exclusive mode looks
    // like, with or without a window manager to honour full-screen states.
    HostSize screen = HostScreenSize();
    SDL_SetWindowBordered(window->sdl, fullscreen ? SDL_FALSE : SDL_TRUE);
    if (fullscreen) {
        SDL_SetWindowSize(window->sdl, screen.width, screen.height);
        SDL_SetWindowPosition(window->sdl, 0, 0);
    }
}

void HostRaiseWindow(HostWindow* window) {
    if (window != nullptr) SDL_RaiseWindow(window->sdl);
}

void HostMoveWindow(HostWindow* window, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (window == nullptr) return;
    SDL_SetWindowPosition(window->sdl, x, y);
    SDL_SetWindowSize(window->sdl, std::max(width * window->scale, 1), std::max(height * window->scale, 1));
    window->width = width;
    window->height = height;
}

void HostSetLogicalSize(HostWindow* window, int32_t width, int32_t height) {
    if (window == nullptr) return;
    window->width = width;
    window->height = height;
}

void HostWindowPosition(HostWindow* window, int32_t& x, int32_t& y) {
    x = 0;
    y = 0;
    if (window == nullptr) return;
    int windowX = 0;
    int windowY = 0;
    SDL_GetWindowPosition(window->sdl, &windowX, &windowY);
    x = windowX;
    y = windowY;
}

bool HostPollEvent(HostEvent& event) {
    if (!started) return false;
    SDL_Event sdlEvent;
    while (SDL_PollEvent(&sdlEvent) != 0) {
        event = HostEvent{};
        switch (sdlEvent.type) {
            case SDL_QUIT:
                event.kind = HostEventKind::Quit;
                return true;
            case SDL_WINDOWEVENT:
                event.window = FromSdl(sdlEvent.window.windowID);
                if (sdlEvent.window.event == SDL_WINDOWEVENT_CLOSE) event.kind = HostEventKind::Close;
                if (sdlEvent.window.event == SDL_WINDOWEVENT_MOVED) event.kind = HostEventKind::Move;
                break;
            case SDL_MOUSEMOTION:
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: {
                bool motion = sdlEvent.type == SDL_MOUSEMOTION;
                event.window = FromSdl(motion ? sdlEvent.motion.windowID : sdlEvent.button.windowID);
                if (event.window == nullptr) break;
                if (!motion && sdlEvent.button.button != SDL_BUTTON_LEFT) break;
                Placement placement = PlacementOf(*event.window);
                int32_t x = motion ? sdlEvent.motion.x : sdlEvent.button.x;
                int32_t y = motion ? sdlEvent.motion.y : sdlEvent.button.y;
                event.x = std::clamp((x - placement.offsetX) / placement.scale, 0, event.window->width - 1);
                event.y = std::clamp((y - placement.offsetY) / placement.scale, 0, event.window->height - 1);
                event.kind = motion                                 ? HostEventKind::MouseMove
                             : sdlEvent.type == SDL_MOUSEBUTTONDOWN ? HostEventKind::ButtonDown
                                                                    : HostEventKind::ButtonUp;
                break;
            }
            case SDL_KEYDOWN:
            case SDL_KEYUP:
                event.window = FromSdl(sdlEvent.key.windowID);
                event.virtualKey = VirtualKeyOf(sdlEvent.key.keysym.sym);
                event.kind = sdlEvent.type == SDL_KEYDOWN ? HostEventKind::KeyDown : HostEventKind::KeyUp;
                break;
            default:
                break;
        }
        // Keys can arrive while no window has the keyboard focus (a bare X
        // server gives none); the window manager then decides where they go.
        bool isKey = event.kind == HostEventKind::KeyDown || event.kind == HostEventKind::KeyUp;
        if (event.kind != HostEventKind::None && (event.window != nullptr || isKey)) return true;
    }
    return false;
}

void HostShowCursor(bool visible) {
    if (HostStart()) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void HostPresent(HostWindow* window, const void* pixels, int32_t pitch, HostPixelFormat format, int32_t width,
                 int32_t height) {
    if (window == nullptr || pixels == nullptr || width <= 0 || height <= 0) return;
    window->converted.resize(static_cast<size_t>(width) * height);
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

int32_t HostDrawText(uint32_t* pixels, int32_t width, int32_t height, int32_t x, int32_t y, const char* utf8,
                     int32_t pixelSize, uint32_t colour) {
    TTF_Font* font = FontOfSize(pixelSize);
    if (font == nullptr || utf8 == nullptr || *utf8 == '\0') return 0;
    SDL_Color sdlColour{static_cast<uint8_t>(colour >> 16), static_cast<uint8_t>(colour >> 8),
                        static_cast<uint8_t>(colour), 255};
    SDL_Surface* rendered = TTF_RenderUTF8_Blended(font, utf8, sdlColour);
    if (rendered == nullptr) return 0;
    SDL_Surface* text = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(rendered);
    if (text == nullptr) return 0;

    for (int32_t row = 0; row < text->h; ++row) {
        int32_t targetY = y + row;
        if (targetY < 0 || targetY >= height) continue;
        const auto* from =
            reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(text->pixels) + row * text->pitch);
        for (int32_t column = 0; column < text->w; ++column) {
            int32_t targetX = x + column;
            if (targetX < 0 || targetX >= width) continue;
            uint32_t alpha = from[column] >> 24;
            uint32_t& to = pixels[targetY * width + targetX];
            uint32_t blended = 0xFF000000u;
            for (int shift = 0; shift <= 16; shift += 8) {
                uint32_t over = (from[column] >> shift) & 0xFF;
                uint32_t under = (to >> shift) & 0xFF;
                blended |= ((over * alpha + under * (255 - alpha)) / 255) << shift;
            }
            to = blended;
        }
    }
    int32_t drawn = text->w;
    SDL_FreeSurface(text);
    return drawn;
}

int32_t HostTextWidth(const char* utf8, int32_t pixelSize) {
    TTF_Font* font = FontOfSize(pixelSize);
    int textWidth = 0;
    if (font == nullptr || TTF_SizeUTF8(font, utf8, &textWidth, nullptr) != 0) return 0;
    return textWidth;
}

}  // namespace standin
