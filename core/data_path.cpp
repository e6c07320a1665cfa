#include "core/data_path.h"

#include <cstdio>
#include <cstring>

#include "core/platform.h"

namespace {

char sharedPath[kDataPathCapacity];

}  // namespace

char PathSeparatorOf(const char* fullPath) { return fullPath != nullptr && fullPath[0] == '/' ? '/' : '\\'; }

const char* ResolveDataPathFrom(const char* executablePath, char separator, const char* relative, char* buffer,
                                int32_t capacity) {
    std::memset(buffer, 0, static_cast<size_t>(capacity));

    const char* lastSeparator = std::strrchr(executablePath, separator);
    if (lastSeparator == nullptr) return relative;

    size_t folderLength = static_cast<size_t>(lastSeparator - executablePath) + 1;
    size_t relativeLength = std::strlen(relative);
    // Refuse rather than cut: a shortened path could name another file.
    if (folderLength + relativeLength >= static_cast<size_t>(capacity)) return buffer;

    std::memcpy(buffer, executablePath, folderLength);
    char* out = buffer + folderLength;
    for (size_t i = 0; i < relativeLength; ++i) out[i] = relative[i] == '\\' ? separator : relative[i];
    return buffer;
}

const char* ResolveDataPath(const char* relative) {
    char executablePath[kExecutablePathCapacity] = {};
    if (SystemExecutablePath(executablePath, kExecutablePathCapacity) < 0) {
        // Nothing beside the program can be named; an empty path opens nothing.
        static bool told = false;
        if (!told) {
            told = true;
            std::fprintf(stderr,
                         "error: the program's folder has a path longer than %d characters, so its data and log "
                         "cannot be found; move the program to a folder with a shorter path\n",
                         kExecutablePathCapacity - 1);
        }
        std::memset(sharedPath, 0, sizeof sharedPath);
        return sharedPath;
    }
    return ResolveDataPathFrom(executablePath, PathSeparatorOf(executablePath), relative, sharedPath,
                               kDataPathCapacity);
}

int32_t OwnFolderIn(const char* base, char* buffer, int32_t capacity) {
    if (capacity <= 0) return 0;
    char separator = PathSeparatorOf(base);
    int length = std::snprintf(buffer, static_cast<size_t>(capacity), "%s%cduckdemo%c", base, separator, separator);
    if (length > 0 && length < capacity) return length;
    buffer[0] = '\0';
    return 0;
}
