// What the engine asks of the desktop system.
#include <string.h>

#include "core/platform.h"
#include "platform/desktop/win32.h"

int32_t SystemExecutablePath(char* buffer, int32_t capacity) {
    if (capacity <= 0) return 0;
    // A path that fills the whole buffer was cut.
    DWORD length = GetModuleFileNameA(nullptr, buffer, static_cast<DWORD>(capacity));
    if (length >= static_cast<DWORD>(capacity)) {
        buffer[0] = '\0';
        return -1;
    }
    buffer[length] = '\0';
    return static_cast<int32_t>(strlen(buffer));
}

uint32_t SystemTickCount() { return GetTickCount(); }

void SystemShowCursor() { ShowCursor(TRUE); }

// The mutex stays open until the process ends, however it ends, and the name
// is free again then.
bool SystemClaimName(const char* name) {
    HANDLE mutex = CreateMutexA(nullptr, FALSE, name);
    return mutex == nullptr || GetLastError() != ERROR_ALREADY_EXISTS;
}
