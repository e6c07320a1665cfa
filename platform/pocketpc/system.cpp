// What the engine asks of the handheld system.
#include <string.h>

#include "core/data_path.h"
#include "core/platform.h"
#include "platform/pocketpc/wince.h"

namespace {

constexpr DWORD kPathLimit = 1000;

}  // namespace

// The system gives the path in wide characters; the engine works in 8-bit
// ones, in the code page the C runtime opens files with. A path cut by
// either buffer is refused.
int32_t SystemExecutablePath(char* buffer, int32_t capacity) {
    if (capacity <= 0) return 0;
    buffer[0] = '\0';
    WCHAR widePath[kPathLimit] = {};
    DWORD wideLength = GetModuleFileNameW(nullptr, widePath, kPathLimit);
    if (wideLength >= kPathLimit) return -1;
    if (wideLength == 0) return 0;
    int length = WideCharToMultiByte(CP_ACP, 0, widePath, -1, buffer, capacity, "?", nullptr);
    if (length <= 0) {
        buffer[0] = '\0';
        return -1;
    }
    return static_cast<int32_t>(strlen(buffer));
}

// \Application Data\duckdemo\ on the device; the folder is made by its
// wide name.
int32_t SystemStateFolder(char* buffer, int32_t capacity) {
    if (capacity > 0) buffer[0] = '\0';
    WCHAR wideFolder[MAX_PATH] = {};
    char folder[kPathLimit] = {};
    if (!SHGetSpecialFolderPathW(nullptr, wideFolder, CSIDL_APPDATA, TRUE) ||
        WideCharToMultiByte(CP_ACP, 0, wideFolder, -1, folder, sizeof folder, nullptr, nullptr) <= 0)
        return 0;
    int32_t length = OwnFolderIn(folder, buffer, capacity);
    WCHAR wideOwn[kPathLimit] = {};
    if (length > 0 && MultiByteToWideChar(CP_ACP, 0, buffer, -1, wideOwn, static_cast<int>(kPathLimit)) > 0)
        CreateDirectoryW(wideOwn, nullptr);
    return length;
}

uint32_t SystemTickCount() { return GetTickCount(); }

// There is no mouse pointer to show on the handheld.
void SystemShowCursor() {}

// The mutex stays open until the process ends, however it ends, and the name
// is free again then. The name is ASCII, so each byte is its wide character.
bool SystemClaimName(const char* name) {
    WCHAR wideName[kPathLimit] = {};
    for (DWORD i = 0; name[i] != '\0' && i < kPathLimit - 1; ++i) wideName[i] = static_cast<WCHAR>(name[i]);
    HANDLE mutex = CreateMutexW(nullptr, FALSE, wideName);
    return mutex == nullptr || GetLastError() != ERROR_ALREADY_EXISTS;
}
