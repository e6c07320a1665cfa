#include "process_start.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "hardware.h"
#include "sdl_host.h"

namespace standin {

bool ReadyToStart(int argc, char** argv) {
    if (!LoadHardwareFromEnvironment()) return false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0 ||
            std::strcmp(argv[i], "--version") == 0)
            return true;
    }
    // A window system always has a screen; without one the program would
    // run with nothing to show and nothing to quit it. Asking for a headless
    // driver by name is running unseen on purpose.
    bool headlessAsked = std::getenv("SDL_VIDEODRIVER") != nullptr;
    if (!(headlessAsked ? HostStart() : HostHasScreen())) {
        const char* name = argc > 0 ? argv[0] : "duckdemo";
        const char* display = std::getenv("DISPLAY");
        if (display != nullptr && display[0] != '\0')
            std::fprintf(stderr, "%s: cannot open the display \"%s\" to show the picture on.\n", name, display);
        else
            std::fprintf(stderr,
                         "%s: no display to show the picture on. Run it in a desktop session, set DISPLAY, or set "
                         "SDL_VIDEODRIVER=offscreen to run it unseen.\n",
                         name);
        return false;
    }
    return true;
}

}  // namespace standin
