#include "platform/desktop/start_problems.h"

#include <stdio.h>

#include "core/data_path.h"
#include "core/debug_log.h"
#include "platform/desktop/win32.h"

namespace {

constexpr char kTitle[] = "doZorava";

void Tell(const char* text) { MessageBoxA(nullptr, text, kTitle, MB_OK | MB_ICONERROR); }

}  // namespace

void TellStartProblems() {
    // Room for a whole path: a message box that cut it would name another file.
    char message[DebugLog::kPathCapacity + 256];
    const char* data = ResolveDataPath("data");
    DWORD attributes = GetFileAttributesA(data);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        debugLog.Print("[ERROR] No data folder: \"%s\"\n", data);
        snprintf(message, sizeof message,
                 "The folder \"%s\" is missing: the pictures and the music are read from there, so the show stays "
                 "black and silent. Put the data folder back beside the program.",
                 data);
        Tell(message);
    }
    if (debugLog.Failed()) {
        snprintf(message, sizeof message, "The log \"%s\" cannot be written; the show goes on without it.",
                 debugLog.Path());
        Tell(message);
    }
}
