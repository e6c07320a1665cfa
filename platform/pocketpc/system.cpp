// What the engine asks of the handheld system.
#include <string.h>

#include "core/platform.h"
#include "platform/pocketpc/wince.h"

namespace {

constexpr DWORD kPathLimit = 1000;

// The system gives the path in wide characters; the engine works in 8-bit
// ones. Characters without an 8-bit form become '?'.
void NarrowPath(char* buffer, int32_t capacity) {
    WCHAR widePath[kPathLimit] = {};
    GetModuleFileNameW(nullptr, widePath, kPathLimit);
    widePath[kPathLimit - 1] = 0;
    char narrow[kPathLimit] = {};
    WideCharToMultiByte(CP_ACP, 0, widePath, -1, narrow, static_cast<int>(kPathLimit), "?", nullptr);
    narrow[kPathLimit - 1] = '\0';
    size_t length = strlen(narrow);
    if (length > static_cast<size_t>(capacity) - 1) length = static_cast<size_t>(capacity) - 1;
    memcpy(buffer, narrow, length);
    buffer[length] = '\0';
}

}  // namespace

int32_t SystemExecutablePath(char* buffer, int32_t capacity) {
    if (capacity <= 0) return 0;
    NarrowPath(buffer, capacity);
    return static_cast<int32_t>(strlen(buffer));
}

uint32_t SystemTickCount() { return GetTickCount(); }

// There is no mouse pointer to show on the handheld.
void SystemShowCursor() {}
