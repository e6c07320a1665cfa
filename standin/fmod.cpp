#include <fmod.h>
