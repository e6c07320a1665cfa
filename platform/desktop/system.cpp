// What the engine asks of the desktop system.
#include <string.h>

#include "core/data_path.h"
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

// %LOCALAPPDATA%\duckdemo\: the user's own, never roaming to other machines.
int32_t SystemStateFolder(char* buffer, int32_t capacity) {
    if (capacity > 0) buffer[0] = '\0';
    char local[MAX_PATH] = {};
    if (SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, local) != S_OK)
        return 0;
    int32_t length = OwnFolderIn(local, buffer, capacity);
    if (length > 0) CreateDirectoryA(buffer, nullptr);
    return length;
}

uint32_t SystemTickCount() { return GetTickCount(); }

void SystemShowCursor() { ShowCursor(TRUE); }

// The mutex stays open until the process ends, however it ends, and the name
// is free again then.
bool SystemClaimName(const char* name) {
    HANDLE mutex = CreateMutexA(nullptr, FALSE, name);
    return mutex == nullptr || GetLastError() != ERROR_ALREADY_EXISTS;
}
