// A window-system stand-in that talks to SDL itself instead of through the host.
#include <SDL.h>

#include "standin/user32/window_registry.h"
