// The process's own path, the tick counter and string conversion.
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <windows.h>

#include "standin/kernel32/tick_clock.h"

namespace {

// Reads the running executable's path; empty when the system gives none.
size_t OwnPath(char* buffer, size_t capacity) {
    ssize_t length = readlink("/proc/self/exe", buffer, capacity);
    return length > 0 ? static_cast<size_t>(length) : 0;
}

int moduleAnchor;

bool virtualTicks = false;
uint32_t virtualTickCount = 0;

}  // namespace

namespace standin {

void UseVirtualTickCount(uint32_t startMilliseconds) {
    virtualTicks = true;
    virtualTickCount = startMilliseconds;
}

void AdvanceVirtualTickCount(uint32_t milliseconds) { virtualTickCount += milliseconds; }

}  // namespace standin

extern "C" {

// As on Windows: a path too long for the buffer is cut, still terminated,
// and the result is then the buffer's size.
DWORD WINAPI GetModuleFileNameA(HMODULE, LPSTR lpFilename, DWORD nSize) {
    if (lpFilename == nullptr || nSize == 0) return 0;
    char path[4096];
    size_t length = OwnPath(path, sizeof path);
    if (length >= nSize) {
        std::memcpy(lpFilename, path, nSize - 1);
        lpFilename[nSize - 1] = '\0';
        return nSize;
    }
    std::memcpy(lpFilename, path, length);
    lpFilename[length] = '\0';
    return static_cast<DWORD>(length);
}

DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
    if (lpFilename == nullptr || nSize == 0) return 0;
    char path[4096];
    DWORD length = GetModuleFileNameA(hModule, path, nSize < sizeof path ? nSize : sizeof path);
    for (DWORD i = 0; i <= length && i < nSize; ++i) lpFilename[i] = static_cast<unsigned char>(path[i]);
    return length;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
    return lpModuleName == nullptr ? reinterpret_cast<HMODULE>(&moduleAnchor) : nullptr;
}

DWORD WINAPI GetTickCount(void) {
    if (virtualTicks) return virtualTickCount;
    auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

void WINAPI Sleep(DWORD dwMilliseconds) {
    if (!virtualTicks) std::this_thread::sleep_for(std::chrono::milliseconds(dwMilliseconds));
}

// Characters outside 7-bit ASCII become the default character: the paths
// and titles we convert are plain ASCII where it matters.
int WINAPI WideCharToMultiByte(UINT, DWORD, LPCWSTR lpWideCharStr, int cchWideChar, LPSTR lpMultiByteStr,
                               int cbMultiByte, LPCSTR lpDefaultChar, BOOL* lpUsedDefaultChar) {
    if (lpWideCharStr == nullptr) return 0;
    int length = cchWideChar;
    if (length < 0) {
        length = 0;
        while (lpWideCharStr[length] != 0) ++length;
        ++length;  // the terminator is converted too
    }
    if (cbMultiByte == 0) return length;
    if (lpMultiByteStr == nullptr || cbMultiByte < length) return 0;
    char replacement = lpDefaultChar != nullptr ? *lpDefaultChar : '?';
    BOOL usedDefault = FALSE;
    for (int i = 0; i < length; ++i) {
        WCHAR c = lpWideCharStr[i];
        if (c >= 0x80) usedDefault = TRUE;
        lpMultiByteStr[i] = c < 0x80 ? static_cast<char>(c) : replacement;
    }
    if (lpUsedDefaultChar != nullptr) *lpUsedDefaultChar = usedDefault;
    return length;
}

}  // extern "C"
