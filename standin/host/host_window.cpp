// Host windows and their events: the SDL windows, and SDL's events turned
// into the host's, with the keys as their Win32 numbers.
#include "standin/host/host_window.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>

#include "standin/host/sdl_host.h"

namespace standin {
namespace {

HostWindow* firstWindow = nullptr;

HostWindow* FromSdl(uint32_t windowId) {
    SDL_Window* sdl = SDL_GetWindowFromID(windowId);
    return sdl != nullptr ? static_cast<HostWindow*>(SDL_GetWindowData(sdl, "host")) : nullptr;
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

void NotePresence(HostWindow& window, uint8_t windowEvent) {
    switch (windowEvent) {
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_HIDDEN:
            if (!window.minimised) ++window.minimisations;
            window.minimised = true;
            break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_EXPOSED:
            window.minimised = false;
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            if (!window.focusAway) ++window.focusLosses;
            window.focusAway = true;
            break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            window.focusAway = false;
            break;
        default:
            break;
    }
}

}  // namespace

HostPresence HostWindowPresence(HostWindow* window, bool countFocus) {
    if (window == nullptr) return {};
    HostPresence presence;
    presence.departures = window->minimisations + (countFocus ? window->focusLosses : 0);
    presence.away = window->minimised || (countFocus && window->focusAway);
    return presence;
}

HostWindow* NewestHostWindow() { return firstWindow; }

Placement PlacementOf(const HostWindow& window) {
    if (window.sdl == nullptr) return {window.scale, 0, 0};
    int windowWidth = 0;
    int windowHeight = 0;
    SDL_GetWindowSize(window.sdl, &windowWidth, &windowHeight);
    int32_t scale = 1;
    if (window.width > 0 && window.height > 0)
        scale = std::max(1, std::min(windowWidth / window.width, windowHeight / window.height));
    return {scale, (windowWidth - window.width * scale) / 2, (windowHeight - window.height * scale) / 2};
}

void DestroyEveryHostWindow() {
    while (firstWindow != nullptr) HostDestroyWindow(firstWindow);
}

HostWindow* HostCreateWindow(const char* title, int32_t x, int32_t y, int32_t width, int32_t height,
                             const HostWindowOptions& options) {
    if (!HostStart()) return nullptr;
    uint32_t flags = options.visible ? SDL_WINDOW_SHOWN : SDL_WINDOW_HIDDEN;
    if (!options.bordered) flags |= SDL_WINDOW_BORDERLESS;
    if (options.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (options.topmost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    int32_t scale = std::max(options.scale, 1);
    SDL_Window* sdl = nullptr;
    if (CurrentCapture() == nullptr)
        sdl = SDL_CreateWindow(title, x, y, std::max(width * scale, 1), std::max(height * scale, 1), flags);
    if (sdl == nullptr && CurrentCapture() == nullptr) {
        std::fprintf(stderr, "warning: cannot create a window (%s)\n", SDL_GetError());
        return nullptr;
    }
    auto* window = new HostWindow;
    window->sdl = sdl;
    window->width = width;
    window->height = height;
    window->scale = scale;
    window->next = firstWindow;
    firstWindow = window;
    if (sdl != nullptr) SDL_SetWindowData(sdl, "host", window);
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
    if (window->sdl != nullptr) SDL_DestroyWindow(window->sdl);
    delete window;
}

void HostShowWindow(HostWindow* window, bool visible) {
    if (window == nullptr) return;
    if (window->sdl == nullptr) return;
    if (visible) {
        SDL_ShowWindow(window->sdl);
    } else {
        SDL_HideWindow(window->sdl);
    }
}

void HostSetTopmost(HostWindow* window, bool topmost) {
    if (window == nullptr) return;
    if (window->sdl == nullptr) return;
    SDL_SetWindowAlwaysOnTop(window->sdl, topmost ? SDL_TRUE : SDL_FALSE);
}

void HostSetFullscreen(HostWindow* window, bool fullscreen) {
    if (window == nullptr) return;
    if (window->sdl == nullptr) return;
    // A borderless window covering the screen: what an exclusive mode looks
    // like, with or without a window manager to honour full-screen states.
    HostSize screen = HostScreenSize();
    SDL_SetWindowBordered(window->sdl, fullscreen ? SDL_FALSE : SDL_TRUE);
    if (fullscreen) {
        SDL_SetWindowSize(window->sdl, screen.width, screen.height);
        SDL_SetWindowPosition(window->sdl, 0, 0);
    }
}

void HostSetBordered(HostWindow* window, bool bordered) {
    if (window != nullptr && window->sdl != nullptr)
        SDL_SetWindowBordered(window->sdl, bordered ? SDL_TRUE : SDL_FALSE);
}

void HostRaiseWindow(HostWindow* window) {
    if (window != nullptr && window->sdl != nullptr) SDL_RaiseWindow(window->sdl);
}

void HostMoveWindow(HostWindow* window, int32_t x, int32_t y, int32_t width, int32_t height) {
    if (window == nullptr) return;
    if (window->sdl == nullptr) {
        window->width = width;
        window->height = height;
        return;
    }
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
    if (window == nullptr || window->sdl == nullptr) return;
    int windowX = 0;
    int windowY = 0;
    SDL_GetWindowPosition(window->sdl, &windowX, &windowY);
    x = windowX;
    y = windowY;
}

namespace {

// A scripted event, its position turned from the window's pixels into its
// logical ones as the mouse's are.
bool PollCaptureEvent(HostCapture& capture, HostEvent& event) {
    if (!capture.PollEvent(event)) return false;
    bool isKey = event.kind == HostEventKind::KeyDown || event.kind == HostEventKind::KeyUp;
    if (event.window == nullptr && !isKey) event.window = NewestHostWindow();
    if (event.window != nullptr && !isKey) {
        Placement placement = PlacementOf(*event.window);
        event.x = std::clamp(event.x / placement.scale, 0, std::max(event.window->width - 1, 0));
        event.y = std::clamp(event.y / placement.scale, 0, std::max(event.window->height - 1, 0));
    }
    return true;
}

}  // namespace

bool HostPollEvent(HostEvent& event) {
    if (!HostStarted()) return false;
    if (HostCapture* capture = CurrentCapture()) return PollCaptureEvent(*capture, event);
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
                if (event.window != nullptr) NotePresence(*event.window, sdlEvent.window.event);
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
                // F12 belongs to the machine, not the program: it keeps the picture.
                if (sdlEvent.key.keysym.sym == SDLK_F12) {
                    HostWindow* shown = FromSdl(sdlEvent.key.windowID);
                    if (shown == nullptr) shown = NewestHostWindow();
                    if (sdlEvent.type == SDL_KEYDOWN && sdlEvent.key.repeat == 0 && shown != nullptr)
                        SaveScreenshot(*shown);
                    break;
                }
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
    if (HostStart() && CurrentCapture() == nullptr) SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

}  // namespace standin
