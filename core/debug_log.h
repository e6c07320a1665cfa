// The plain-text log beside the executable: a header when created, one
// appended text per Print, a footer when the process ends.
#pragma once

class DebugLog {
public:
    // Resolves "qvDebug.log" beside the executable and creates it.
    DebugLog();
    // Creates the log at an explicit path (tools and tests).
    explicit DebugLog(const char* path);
    // Appends the footer.
    ~DebugLog();

    DebugLog(const DebugLog&) = delete;
    DebugLog& operator=(const DebugLog&) = delete;

    // printf-style; the file is opened, appended to and closed again, so each
    // message is on disk when Print returns. A null format writes nothing.
    // Messages are cut to fit kMessageCapacity.
    void Print(const char* format, ...) __attribute__((format(printf, 2, 3)));

    const char* Path() const { return logPath; }

    static constexpr int kMessageCapacity = 2048;
    static constexpr int kPathCapacity = 20000;

private:
    void Create(const char* path);
    void Append(const char* text);
    void WarnOnce(const char* action);

    char logPath[kPathCapacity] = {};
    bool warned = false;
};

extern DebugLog debugLog;
