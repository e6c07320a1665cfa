// A core file reaching for the window system: the layering check must refuse it.
#include <SDL2/SDL.h>
