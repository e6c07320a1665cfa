// The host is below the window system: asking it for windows runs back up.
#include "standin/user32/window_registry.h"
