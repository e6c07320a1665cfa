#include "fakes/fake_system.h"

#include <unistd.h>

#include <cstring>

#include "core/platform.h"

FakeSystem& TheFakeSystem() {
    static FakeSystem fakeSystem;
    return fakeSystem;
}

void ResetFakeSystem() { TheFakeSystem() = FakeSystem{}; }

int32_t SystemExecutablePath(char* buffer, int32_t capacity) {
    if (capacity <= 0) return 0;
    std::string path = TheFakeSystem().executablePath;
    if (path.empty()) {
        char own[4096] = {};
        ssize_t length = readlink("/proc/self/exe", own, sizeof own - 1);
        if (length > 0) path.assign(own, static_cast<size_t>(length));
    }
    size_t length = std::min(path.size(), static_cast<size_t>(capacity - 1));
    std::memcpy(buffer, path.data(), length);
    buffer[length] = '\0';
    return static_cast<int32_t>(length);
}

char SystemPathSeparator() { return TheFakeSystem().separator; }

uint32_t SystemTickCount() { return TheFakeSystem().tickCount(); }

void SystemShowCursor() { ++TheFakeSystem().showCursorCalls; }

GuessPrompt SystemGuessPrompt() {
    return {TheFakeSystem().promptText, TheFakeSystem().promptX, TheFakeSystem().promptY};
}
