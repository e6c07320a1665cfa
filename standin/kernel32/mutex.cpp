// Named mutexes, as a program uses them to tell whether another copy of it
// runs: a name in Linux's abstract socket space, which is held by an open
// socket and given back by the system when the process ends, however it ends.
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <windows.h>

namespace {

thread_local DWORD lastError = 0;

// Anything but null: the caller only compares it and keeps it open.
HANDLE const kExistingMutex = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(1));

HANDLE CreateNamedMutex(const char* name) {
    int holder = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (holder < 0) return nullptr;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // The leading NUL puts the name in the abstract space: no file is made.
    int length = std::snprintf(address.sun_path + 1, sizeof address.sun_path - 1, "win32-mutex/%s", name);
    if (length < 0 || length >= static_cast<int>(sizeof address.sun_path - 1)) {
        close(holder);
        return nullptr;
    }
    socklen_t size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + length);
    if (bind(holder, reinterpret_cast<sockaddr*>(&address), size) == 0) {
        lastError = 0;
        return reinterpret_cast<HANDLE>(static_cast<intptr_t>(holder) + 2);
    }
    int reason = errno;
    close(holder);
    if (reason != EADDRINUSE) return nullptr;
    lastError = ERROR_ALREADY_EXISTS;
    return kExistingMutex;
}

}  // namespace

extern "C" {

DWORD WINAPI GetLastError(void) { return lastError; }

HANDLE WINAPI CreateMutexA(LPSECURITY_ATTRIBUTES, BOOL, LPCSTR lpName) {
    if (lpName == nullptr) return nullptr;
    return CreateNamedMutex(lpName);
}

// Names are ASCII here; a wider character is kept as '?'.
HANDLE WINAPI CreateMutexW(LPSECURITY_ATTRIBUTES, BOOL, LPCWSTR lpName) {
    if (lpName == nullptr) return nullptr;
    char name[100] = {};
    for (size_t i = 0; lpName[i] != 0 && i < sizeof name - 1; ++i)
        name[i] = lpName[i] < 0x80 ? static_cast<char>(lpName[i]) : '?';
    return CreateNamedMutex(name);
}

}  // extern "C"
