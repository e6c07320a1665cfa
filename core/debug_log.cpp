#include "core/debug_log.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "core/data_path.h"

namespace {

constexpr char kHeader[] = "doZorava - Logging started\n--------------------------\n\n";
constexpr char kFooter[] = "\n--------------------------\ndoZorava - Logging ended\n";

}  // namespace

DebugLog::DebugLog() { std::snprintf(logPath, sizeof logPath, "%s", ResolveDataPath("qvDebug.log")); }

DebugLog::DebugLog(const char* path) { std::snprintf(logPath, sizeof logPath, "%s", path); }

// A process that printed nothing (it only showed its help, or refused its
// command line) leaves the last run's log as it was.
DebugLog::~DebugLog() {
    if (created) Append(kFooter);
}

void DebugLog::Create() {
    created = true;
    FILE* file = std::fopen(logPath, "w");
    if (file == nullptr) {
        WarnOnce("create");
        return;
    }
    std::fputs(kHeader, file);
    std::fclose(file);
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
    FILE* file = std::fopen(logPath, "a");
    if (file == nullptr) {
        WarnOnce("write");
        return;
    }
    std::fputs(text, file);
    std::fclose(file);
}

// A log that cannot be written must not stop the demo; say so once, where a
// person starting the program from a terminal will see it.
void DebugLog::WarnOnce(const char* action) {
    if (warned) return;
    warned = true;
    std::fprintf(stderr, "warning: cannot %s the log file \"%s\" (%s); carrying on without it\n", action, logPath,
                 std::strerror(errno));
}
