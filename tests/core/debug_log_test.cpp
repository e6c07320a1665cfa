#include "core/debug_log.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>

#include "fakes/fake_system.h"
#include "support/test_files.h"

namespace {

const std::string kHeader = "doZorava - Logging started\n--------------------------\n\n";
const std::string kFooter = "\n--------------------------\ndoZorava - Logging ended\n";

std::string LogPath(const char* name) { return TestFilePath(std::string(name) + ".log"); }

// What run writes to stderr, through a pipe, which no file-size limit touches.
template <typename Run>
std::string StderrOf(Run run) {
    int ends[2];
    if (pipe(ends) != 0) return "no pipe";
    std::fflush(stderr);
    int saved = dup(2);
    dup2(ends[1], 2);
    close(ends[1]);
    run();
    std::fflush(stderr);
    dup2(saved, 2);
    close(saved);
    std::string text;
    char block[4096];
    for (ssize_t got; (got = read(ends[0], block, sizeof block)) > 0;) text.append(block, static_cast<size_t>(got));
    close(ends[0]);
    return text;
}

TEST(DebugLog, WritesHeaderWithTheFirstLineAndFooterAtTheEnd) {
    std::string path = LogPath("frame");
    std::filesystem::remove(path);
    {
        DebugLog log(path.c_str());
        EXPECT_FALSE(std::filesystem::exists(path));
        log.Print("[core] Program init\n");
        EXPECT_EQ(ReadWholeFile(path), kHeader + "[core] Program init\n");  // on disk at once
    }
    EXPECT_EQ(ReadWholeFile(path), kHeader + "[core] Program init\n" + kFooter);
}

TEST(DebugLog, ANewRunReplacesTheLastRunsFileAndOneThatPrintsNothingLeavesIt) {
    std::string path = LogPath("replace");
    { DebugLog(path.c_str()).Print("[core] first run\n"); }
    std::string firstRun = ReadWholeFile(path);
    { DebugLog onlyHelp(path.c_str()); }
    EXPECT_EQ(ReadWholeFile(path), firstRun);
    DebugLog second(path.c_str());
    second.Print("[core] second run\n");
    EXPECT_EQ(ReadWholeFile(path), kHeader + "[core] second run\n");
}

// A second copy of the program in the same folder: the first's log is left
// whole, and the second writes beside it under a name of its own.
TEST(DebugLog, AnotherCopyWritingTheLogLeavesItAloneAndNamesItsOwnApart) {
    std::string path = LogPath("shared");
    std::string apart = TestFilePath("shared-2.log");
    WriteWholeFile(path, kHeader + "[core] the first copy, still running\n");
    std::filesystem::remove(apart);
    ResetFakeSystem();
    TheFakeSystem().namesHeldByOthers = 1;
    std::string said = StderrOf([&] {
        DebugLog second(path.c_str());
        second.Print("[core] the second copy\n");
    });
    ResetFakeSystem();
    EXPECT_EQ(ReadWholeFile(path), kHeader + "[core] the first copy, still running\n");
    EXPECT_EQ(ReadWholeFile(apart), kHeader + "[core] the second copy\n" + kFooter);
    EXPECT_NE(said.find("this one writes \"" + apart + "\""), std::string::npos) << said;
}

TEST(DebugLog, FormatsLikePrintfAndWritesTheTextVerbatim) {
    std::string path = LogPath("format");
    DebugLog log(path.c_str());
    log.Print("[gfx] bpp == %d...\n", 16);
    log.Print("[sfx] FMUSIC_LoadSong(\"%s\")...\n", "C:\\100%s\\duck.xm");
    EXPECT_EQ(ReadWholeFile(path), kHeader + "[gfx] bpp == 16...\n[sfx] FMUSIC_LoadSong(\"C:\\100%s\\duck.xm\")...\n");
}

TEST(DebugLog, NullFormatLeavesTheFileAlone) {
    std::string path = LogPath("null");
    DebugLog log(path.c_str());
    std::filesystem::remove(path);
    const char* noFormat = nullptr;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-security"
    log.Print(noFormat);
#pragma GCC diagnostic pop
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(DebugLog, CutsAnOverlongMessageAndEndsItsLine) {
    std::string path = LogPath("long");
    DebugLog log(path.c_str());
    std::string longPath(5000, 'p');
    log.Print("[sfx] FMUSIC_LoadSong(\"%s\")...\n", longPath.c_str());
    log.Print("[core] next\n");

    std::string body = ReadWholeFile(path).substr(kHeader.size());
    size_t firstLineEnd = body.find('\n');
    EXPECT_EQ(firstLineEnd, static_cast<size_t>(DebugLog::kMessageCapacity - 2));
    EXPECT_EQ(body.substr(firstLineEnd + 1), "[core] next\n");
}

// Where the log cannot go: each warns once, on one line, and the program
// carries on at once (a FIFO opened for writing would wait for a reader).
TEST(DebugLog, AnUnwritableLogWarnsOnceAndCarriesOn) {
    struct Case {
        const char* name;
        const char* warning;
    };
    for (Case c : {Case{"missing folder", "cannot create the log file"}, Case{"folder", "(Is a directory)"},
                   Case{"fifo", "(not a regular file)"}, Case{"full disk", "cannot write the log file"}}) {
        std::string name = c.name;
        std::string path = name == "missing folder" ? TestOutputDir() + "/no-such-folder/qvDebug.log"
                                                    : LogPath(("unwritable " + name).c_str());
        std::filesystem::remove_all(path);
        if (name == "folder") std::filesystem::create_directories(path);
        if (name == "fifo") {
            ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
        }
        // A file may grow to ten bytes, as if the disk were then full.
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        rlimit full = {name == "full disk" ? 10 : limit.rlim_cur, limit.rlim_max};
        signal(SIGXFSZ, SIG_IGN);
        std::string warnings = StderrOf([&] {
            setrlimit(RLIMIT_FSIZE, &full);
            DebugLog log(path.c_str());
            log.Print("[core] Program init\n");
            log.Print("[core] Creating backbuffer\n");
            setrlimit(RLIMIT_FSIZE, &limit);
        });
        EXPECT_NE(warnings.find(c.warning), std::string::npos) << name << ": " << warnings;
        EXPECT_NE(warnings.find(path), std::string::npos) << name;
        EXPECT_EQ(warnings.find('\n'), warnings.size() - 1) << name << ", exactly one line: " << warnings;
    }
}

// A cut path would name another file: the log is refused instead.
TEST(DebugLog, AnOverlongPathIsRefusedNotCut) {
    std::string path = TestOutputDir() + "/" + std::string(30000, 'x');
    testing::internal::CaptureStderr();
    DebugLog log(path.c_str());
    log.Print("[core] Program init\n");
    std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::string(log.Path()), "");
    EXPECT_NE(warnings.find("cannot create the log file"), std::string::npos);
}

}  // namespace
