// The system services the engine library declares. The tool only reads the
// engine's tables (frame files, cue rows, charset) and never runs the
// program, so none of these is ever called; they exist to link.
#include "core/platform.h"

int32_t SystemExecutablePath(char* buffer, int32_t capacity) {
    if (capacity > 0) buffer[0] = '\0';
    return 0;
}

char SystemPathSeparator() { return '/'; }

uint32_t SystemTickCount() { return 0; }

void SystemShowCursor() {}

GuessPrompt SystemGuessPrompt() { return {"", 0, 0}; }
