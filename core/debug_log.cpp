#include "core/debug_log.h"

#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "core/data_path.h"
#include "core/platform.h"
#include "core/regular_file.h"

namespace {

constexpr char kHeader[] = "doZorava - Logging started\n--------------------------\n\n";
constexpr char kFooter[] = "\n--------------------------\ndoZorava - Logging ended\n";
constexpr char kLogName[] = "qvDebug.log";

}  // namespace

DebugLog::DebugLog() : DebugLog(ResolveDataPath(kLogName)) { besideProgram = true; }

// A path too long to keep whole is refused: cut, it would name another file.
DebugLog::DebugLog(const char* path) {
    if (std::snprintf(logPath, sizeof logPath, "%s", path) >= static_cast<int>(sizeof logPath)) logPath[0] = '\0';
}

// A process that printed nothing (it only showed its help, or refused its
// command line) leaves the last run's log as it was.
DebugLog::~DebugLog() {
    if (created) Append(kFooter);
}

namespace {

// The name a log is claimed by: its path, hashed (FNV-1a) to the letters and
// digits every system takes in a name.
void ClaimNameOf(const char* path, char* name, size_t capacity) {
    uint64_t hash = 14695981039346656037u;
    for (const char* c = path; *c != '\0'; ++c) hash = (hash ^ static_cast<unsigned char>(*c)) * 1099511628211u;
    std::snprintf(name, capacity, "duckdemo-log-%016llx", static_cast<unsigned long long>(hash));
}

bool ClaimLog(const char* path) {
    char name[64];
    ClaimNameOf(path, name, sizeof name);
    return SystemClaimName(name);
}

// "qvDebug.log" as the copy-th copy names it: "qvDebug-2.log".
bool NameApart(const char* path, int copy, char* named, size_t capacity) {
    size_t length = std::strlen(path);
    size_t stem = length >= 4 && std::strcmp(path + length - 4, ".log") == 0 ? length - 4 : length;
    int written = std::snprintf(named, capacity, "%.*s-%d%s", static_cast<int>(stem), path, copy, path + stem);
    return written > 0 && static_cast<size_t>(written) < capacity;
}

}  // namespace

// A second copy of the program in the same folder must not empty the log the
// first is writing: it writes a log of its own beside it, and says where.
void DebugLog::ClaimOrNameApart() {
    if (logPath[0] == '\0' || ClaimLog(logPath)) return;
    constexpr int kLastCopy = 9;
    char named[kPathCapacity];
    for (int copy = 2; copy <= kLastCopy; ++copy) {
        if (!NameApart(logPath, copy, named, sizeof named) || !ClaimLog(named)) continue;
        std::fprintf(stderr, "warning: another copy of the program is writing the log \"%s\"; this one writes \"%s\"\n",
                     logPath, named);
        std::memcpy(logPath, named, std::strlen(named) + 1);
        return;
    }
}

namespace {

// Opening to append makes the file where it is missing and leaves another
// copy's log whole. Only a refusal of the folder or the file counts: any
// other failure stays where it is and is warned about there.
bool RefusedForWriting(const char* path) {
    FILE* file = OpenRegularFile(path, "a");
    if (file != nullptr) {
        std::fclose(file);
        return false;
    }
    return errno == EACCES || errno == EPERM || errno == EROFS;
}

}  // namespace

// An installed program's folder belongs to the system, not to the user who
// runs it: the log then goes where that user keeps program state.
void DebugLog::MoveToStateFolder() {
    char folder[kPathCapacity];
    int32_t length = SystemStateFolder(folder, sizeof folder);
    if (length <= 0 || static_cast<size_t>(length) + sizeof kLogName > sizeof logPath) return;
    std::fprintf(stderr, "note: the program's folder cannot be written; the log is \"%s%s\"\n", folder, kLogName);
    std::memcpy(logPath, folder, static_cast<size_t>(length));
    std::memcpy(logPath + length, kLogName, sizeof kLogName);
}

void DebugLog::Create() {
    created = true;
    if (besideProgram && logPath[0] != '\0' && RefusedForWriting(logPath)) MoveToStateFolder();
    ClaimOrNameApart();
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
