// A platform file that talks to SDL instead of its SDK.
#include <SDL.h>

#include "platform/desktop/win32.h"
