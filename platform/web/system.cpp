// What the engine asks of the browser: the program sits at the root of its
// in-memory file system, with data/ packed beside it.
#include <emscripten.h>
#include <string.h>

#include "core/platform.h"

int32_t SystemExecutablePath(char* buffer, int32_t capacity) {
    constexpr char kPath[] = "/duckdemo";
    if (capacity <= 0) return 0;
    if (capacity < static_cast<int32_t>(sizeof kPath)) {
        buffer[0] = '\0';
        return -1;
    }
    memcpy(buffer, kPath, sizeof kPath);
    return static_cast<int32_t>(sizeof kPath) - 1;
}

// A page keeps no state between visits.
int32_t SystemStateFolder(char* buffer, int32_t capacity) {
    if (capacity > 0) buffer[0] = '\0';
    return 0;
}

uint32_t SystemTickCount() { return static_cast<uint32_t>(static_cast<uint64_t>(emscripten_get_now())); }

void SystemShowCursor() {}

// One program to a page: nothing else can hold the name.
bool SystemClaimName(const char*) { return true; }
