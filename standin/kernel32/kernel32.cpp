// The process's own path, folders, the tick counter and string conversion.
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <thread>
#include <windows.h>

#include "standin/kernel32/own_path.h"
#include "standin/kernel32/tick_clock.h"

namespace {

const char* ownPathLink = "/proc/self/exe";
char startPath[PATH_MAX] = {};

// Reads the running executable's path: from the system, or, where it gives
// none (no /proc), as the process was started; empty when neither is known.
size_t OwnPath(char* buffer, size_t capacity) {
    ssize_t length = readlink(ownPathLink, buffer, capacity);
    if (length > 0) return static_cast<size_t>(length);
    size_t remembered = std::strlen(startPath);
    if (remembered > capacity) return 0;
    std::memcpy(buffer, startPath, remembered);
    return remembered;
}

// Paths are bytes, UTF-8 where they are text. A byte that is no part of a
// valid UTF-8 sequence becomes the code point 0xDC00 + byte and goes back to
// that byte, so every path survives the round trip to wide characters.
constexpr WCHAR kEscapedByte = 0xDC00;
constexpr WCHAR kLargestCodePoint = 0x10FFFF;

size_t DecodeUtf8(const unsigned char* bytes, size_t length, WCHAR* wide) {
    size_t count = 0;
    for (size_t i = 0; i < length; ++count) {
        unsigned char lead = bytes[i];
        size_t size = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
        WCHAR codePoint = size == 1 ? lead : size == 2 ? lead & 0x1F : size == 3 ? lead & 0x0F : lead & 0x07;
        bool valid = size != 0 && i + size <= length;
        for (size_t k = 1; valid && k < size; ++k) {
            valid = (bytes[i + k] & 0xC0) == 0x80;
            codePoint = codePoint << 6 | (bytes[i + k] & 0x3F);
        }
        // Overlong forms, surrogates and values past Unicode are not valid UTF-8.
        constexpr WCHAR kSmallest[5] = {0, 0, 0x80, 0x800, 0x10000};
        valid = valid && codePoint >= kSmallest[size] && codePoint <= kLargestCodePoint &&
                (codePoint < 0xD800 || codePoint > 0xDFFF);
        if (!valid) {
            codePoint = kEscapedByte + lead;
            size = 1;
        }
        if (wide != nullptr) wide[count] = codePoint;
        i += size;
    }
    return count;
}

// Writes the UTF-8 of one code point (or its escaped byte) into out, which
// holds four bytes; returns the byte count, 0 for one with no UTF-8 form.
size_t EncodeUtf8(WCHAR c, char* out) {
    auto byte = [](WCHAR value) { return static_cast<char>(static_cast<unsigned char>(value)); };
    if (c >= kEscapedByte + 0x80 && c <= kEscapedByte + 0xFF) {
        out[0] = byte(c - kEscapedByte);
        return 1;
    }
    if (c < 0x80) {
        out[0] = byte(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = byte(0xC0 | c >> 6);
        out[1] = byte(0x80 | (c & 0x3F));
        return 2;
    }
    if ((c >= 0xD800 && c <= 0xDFFF) || c > kLargestCodePoint) return 0;
    if (c < 0x10000) {
        out[0] = byte(0xE0 | c >> 12);
        out[1] = byte(0x80 | (c >> 6 & 0x3F));
        out[2] = byte(0x80 | (c & 0x3F));
        return 3;
    }
    out[0] = byte(0xF0 | c >> 18);
    out[1] = byte(0x80 | (c >> 12 & 0x3F));
    out[2] = byte(0x80 | (c >> 6 & 0x3F));
    out[3] = byte(0x80 | (c & 0x3F));
    return 4;
}

int moduleAnchor;

bool virtualTicks = false;
uint32_t virtualTickCount = 0;

}  // namespace

namespace standin {

void RememberStartPath(const char* argv0) {
    startPath[0] = '\0';
    if (argv0 == nullptr || argv0[0] == '\0') return;
    char found[PATH_MAX];
    if (std::strchr(argv0, '/') != nullptr) {
        if (realpath(argv0, found) != nullptr) std::snprintf(startPath, sizeof startPath, "%s", found);
        return;
    }
    // Found through PATH: the folders are tried in order, as the shell did.
    const char* folders = std::getenv("PATH");
    while (folders != nullptr && *folders != '\0') {
        const char* end = std::strchr(folders, ':');
        size_t length = end != nullptr ? static_cast<size_t>(end - folders) : std::strlen(folders);
        char candidate[PATH_MAX];
        int written = std::snprintf(candidate, sizeof candidate, "%.*s/%s", static_cast<int>(length), folders, argv0);
        if (written > 0 && written < static_cast<int>(sizeof candidate) && access(candidate, X_OK) == 0 &&
            realpath(candidate, found) != nullptr) {
            std::snprintf(startPath, sizeof startPath, "%s", found);
            return;
        }
        folders = end != nullptr ? end + 1 : nullptr;
    }
}

void UseOwnPathLink(const char* link) { ownPathLink = link; }

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

DWORD WINAPI GetModuleFileNameW(HMODULE, LPWSTR lpFilename, DWORD nSize) {
    if (lpFilename == nullptr || nSize == 0) return 0;
    char path[4096];
    size_t length = OwnPath(path, sizeof path);
    if (length >= sizeof path) length = 0;
    WCHAR wide[4096];
    size_t wideLength = DecodeUtf8(reinterpret_cast<const unsigned char*>(path), length, wide);
    if (wideLength >= nSize) {
        std::memcpy(lpFilename, wide, (nSize - 1) * sizeof(WCHAR));
        lpFilename[nSize - 1] = 0;
        return nSize;
    }
    std::memcpy(lpFilename, wide, wideLength * sizeof(WCHAR));
    lpFilename[wideLength] = 0;
    return static_cast<DWORD>(wideLength);
}

HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName) {
    return lpModuleName == nullptr ? reinterpret_cast<HMODULE>(&moduleAnchor) : nullptr;
}

DWORD WINAPI GetTickCount(void) {
    if (virtualTicks) return virtualTickCount;
    auto sinceStart = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<DWORD>(std::chrono::duration_cast<std::chrono::milliseconds>(sinceStart).count());
}

// With no security attributes the process's umask decides who may write the
// folder. The last error is not kept: our callers only try the folder.
BOOL WINAPI CreateDirectoryA(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES) {
    return lpPathName != nullptr && mkdir(lpPathName, 0777) == 0 ? TRUE : FALSE;
}

BOOL WINAPI CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES) {
    char path[PATH_MAX];
    if (lpPathName == nullptr || WideCharToMultiByte(0, 0, lpPathName, -1, path, sizeof path, nullptr, nullptr) <= 0)
        return FALSE;
    return CreateDirectoryA(path, nullptr);
}

// Only whether the path is a folder; every other file is a plain one.
DWORD WINAPI GetFileAttributesA(LPCSTR lpFileName) {
    struct stat status {};
    if (lpFileName == nullptr || stat(lpFileName, &status) != 0) return INVALID_FILE_ATTRIBUTES;
    return S_ISDIR(status.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}

void WINAPI Sleep(DWORD dwMilliseconds) {
    if (!virtualTicks) std::this_thread::sleep_for(std::chrono::milliseconds(dwMilliseconds));
}

// Every code page is UTF-8 here, as the file system's names are.
UINT WINAPI GetACP(void) { return CP_UTF8; }

int WINAPI MultiByteToWideChar(UINT, DWORD, LPCSTR lpMultiByteStr, int cbMultiByte, LPWSTR lpWideCharStr,
                               int cchWideChar) {
    if (lpMultiByteStr == nullptr || cbMultiByte == 0) return 0;
    // -1: the string and its terminator.
    size_t length = cbMultiByte < 0 ? std::strlen(lpMultiByteStr) + 1 : static_cast<size_t>(cbMultiByte);
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(lpMultiByteStr);
    size_t needed = DecodeUtf8(bytes, length, nullptr);
    if (cchWideChar == 0) return static_cast<int>(needed);
    if (lpWideCharStr == nullptr || static_cast<size_t>(cchWideChar) < needed) return 0;
    return static_cast<int>(DecodeUtf8(bytes, length, lpWideCharStr));
}

// A character with no UTF-8 form becomes the default character.
int WINAPI WideCharToMultiByte(UINT, DWORD, LPCWSTR lpWideCharStr, int cchWideChar, LPSTR lpMultiByteStr,
                               int cbMultiByte, LPCSTR lpDefaultChar, BOOL* lpUsedDefaultChar) {
    if (lpWideCharStr == nullptr) return 0;
    size_t length = 0;
    if (cchWideChar < 0) {
        while (lpWideCharStr[length] != 0) ++length;
        ++length;  // the terminator is converted too
    } else {
        length = static_cast<size_t>(cchWideChar);
    }
    char replacement = lpDefaultChar != nullptr ? *lpDefaultChar : '?';
    BOOL usedDefault = FALSE;
    size_t written = 0;
    for (size_t i = 0; i < length; ++i) {
        char bytes[4];
        size_t size = EncodeUtf8(lpWideCharStr[i], bytes);
        if (size == 0) {
            usedDefault = TRUE;
            bytes[0] = replacement;
            size = 1;
        }
        if (cbMultiByte != 0) {
            if (lpMultiByteStr == nullptr || written + size > static_cast<size_t>(cbMultiByte)) return 0;
            std::memcpy(lpMultiByteStr + written, bytes, size);
        }
        written += size;
    }
    if (lpUsedDefaultChar != nullptr) *lpUsedDefaultChar = usedDefault;
    return static_cast<int>(written);
}

}  // extern "C"
