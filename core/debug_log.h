// The plain-text log beside the executable: created with its header by the
// first Print, one appended text per Print, a footer when the process ends.
#pragma once

class DebugLog {
public:
    // Resolves "qvDebug.log" beside the executable; where that folder cannot
    // be written, the first Print moves it to the user's state folder
    // (SystemStateFolder) and says so once on stderr.
    DebugLog();
    // The log at an explicit path (tools and tests); one of kPathCapacity
    // characters or more is refused, and the first Print warns.
    explicit DebugLog(const char* path);
    // Appends the footer to a log that was created.
    ~DebugLog();

    DebugLog(const DebugLog&) = delete;
    DebugLog& operator=(const DebugLog&) = delete;

    // printf-style; the first creates the file (emptying the last run's) with
    // the header, unless another running copy of the program holds it: then
    // the log is "qvDebug-2.log" (up to -9) beside it, said once on stderr. The file is opened, appended to and closed
    // again, so each message is on disk when Print returns. A null format writes nothing. Messages are cut to fit
    // kMessageCapacity.
    void Print(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Logs that the step announced last has failed, "[ERROR] FAILED!"; returns
    // false for the caller to hand on.
    bool StepFailed();

    const char* Path() const { return logPath; }
    // Whether creating or writing the file has failed.
    bool Failed() const { return warned; }

    static constexpr int kMessageCapacity = 2048;
    static constexpr int kPathCapacity = 20000;

private:
    void Create();
    void MoveToStateFolder();
    void ClaimOrNameApart();
    void Append(const char* text);
    void WarnOnce(const char* action);

    char logPath[kPathCapacity] = {};
    bool besideProgram = false;
    bool created = false;
    bool warned = false;
};

extern DebugLog debugLog;
