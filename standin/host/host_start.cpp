// Starting SDL video once, what the screen is, and giving everything back at
// the process's end.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "standin/host/host_window.h"
#include "standin/host/sdl_host.h"
#include "standin/process/process_state.h"

namespace standin {
namespace {

bool started = false;
bool startFailed = false;
HostCapture* capture = nullptr;

// At the process's end, after the program's own exit handlers that were
// registered later: windows left open (the program may end from anywhere),
// the fonts and SDL give back what they hold.
void HostStop() {
    DestroyEveryHostWindow();
    CloseHostFonts();
    SDL_Quit();
}

bool IsHeadless(const char* driver) {
    return driver == nullptr || std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0;
}

}  // namespace

bool HostStarted() { return started; }

HostCapture* CurrentCapture() { return capture; }

void HostCaptureTo(HostCapture* to) { capture = to; }

bool HostIsCapturing() { return capture != nullptr; }

bool HostStart() {
    if (started) return true;
    if (startFailed) return false;
    if (capture != nullptr) {
        started = true;
        std::atexit(DestroyEveryHostWindow);
        return true;
    }
    // Pictures are put on the screen as they are, as a frame buffer would: no
    // GPU renderer behind the window surface, which would also recreate the
    // window under a program that already holds its handle.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // The process entry turns signals into a quit itself, and a window that
    // closes says so with its own event.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // With neither a Wayland display nor a runtime folder to find one in, the
    // Wayland driver can only fail, and its library says so on stderr before
    // our own message; the others are tried in SDL's order. SDL_VIDEODRIVER
    // in the environment still decides.
    if (std::getenv("WAYLAND_DISPLAY") == nullptr && std::getenv("XDG_RUNTIME_DIR") == nullptr)
        SDL_SetHint(SDL_HINT_VIDEODRIVER, "x11,kmsdrm");
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

bool HostHasScreen() { return capture == nullptr && HostStart() && !IsHeadless(SDL_GetCurrentVideoDriver()); }

// A capture's screen is the common one of the programs' days.
HostSize HostScreenSize() {
    SDL_DisplayMode mode{};
    if (capture != nullptr) return {1024, 768};
    if (!HostStart() || SDL_GetDesktopDisplayMode(0, &mode) != 0) return {1024, 768};
    return {mode.w, mode.h};
}

}  // namespace standin
