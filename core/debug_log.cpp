#include "core/debug_log.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/data_path.h"
#include "core/regular_file.h"

namespace {

constexpr char kHeader[] = "doZorava - Logging started\n--------------------------\n\n";
constexpr char kFooter[] = "\n--------------------------\ndoZorava - Logging ended\n";

}  // namespace

DebugLog::DebugLog() : DebugLog(ResolveDataPath("qvDebug.log")) {}

// A path too long to keep whole is refused: cut, it would name another file.
DebugLog::DebugLog(const char* path) {
    if (std::snprintf(logPath, sizeof logPath, "%s", path) >= static_cast<int>(sizeof logPath)) logPath[0] = '\0';
}

// A process that printed nothing (it only showed its help, or refused its
// command line) leaves the last run's log as it was.
DebugLog::~DebugLog() {
    if (created) Append(kFooter);
}

void DebugLog::Create() {
    created = true;
    FILE* file = OpenRegularFile(logPath, "w");
    if (file == nullptr) {
        WarnOnce("create");
        return;
    }
    // Either can fail on a full disk; fclose is where buffered text is written.
    bool written = std::fputs(kHeader, file) >= 0;
    if (std::fclose(file) != 0 || !written) WarnOnce("write");
}

void DebugLog::Print(const char* format, ...) {
    if (format == nullptr) return;

    char message[kMessageCapacity];
    va_list arguments;
    va_start(arguments, format);
    int length = std::vsnprintf(message, sizeof message, format, arguments);
    va_end(arguments);
    if (length < 0) return;
    // A message cut short still ends its line, so the next one starts clean.
    if (length >= kMessageCapacity) message[kMessageCapacity - 2] = '\n';

    if (!created) Create();
    Append(message);
}

bool DebugLog::StepFailed() {
    Print("[ERROR] FAILED!\n");
    return false;
}

void DebugLog::Append(const char* text) {
    FILE* file = OpenRegularFile(logPath, "a");
    if (file == nullptr) {
        WarnOnce("write");
        return;
    }
    bool written = std::fputs(text, file) >= 0;
    if (std::fclose(file) != 0 || !written) WarnOnce("write");
}

// A log that cannot be written must not stop the demo; say so once, where a
// person starting the program from a terminal will see it.
void DebugLog::WarnOnce(const char* action) {
    if (warned) return;
    warned = true;
    const char* reason = errno == EINVAL ? "not a regular file" : std::strerror(errno);
    std::fprintf(stderr, "warning: cannot %s the log file \"%s\" (%s); carrying on without it\n", action, logPath,
                 reason);
}
