#include "core/debug_log.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "support/test_files.h"

namespace {

const std::string kHeader = "doZorava - Logging started\n--------------------------\n\n";
const std::string kFooter = "\n--------------------------\ndoZorava - Logging ended\n";

std::string LogPath(const char* name) { return TestFilePath(std::string(name) + ".log"); }

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
    log.Print(noFormat);
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

TEST(DebugLog, AnUnwritableLogWarnsOnceAndCarriesOn) {
    std::string path = TestOutputDir() + "/no-such-folder/qvDebug.log";
    testing::internal::CaptureStderr();
    {
        DebugLog log(path.c_str());
        log.Print("[core] Program init\n");
        log.Print("[core] Creating backbuffer\n");
    }
    std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_NE(warnings.find("cannot create the log file"), std::string::npos) << warnings;
    EXPECT_NE(warnings.find(path), std::string::npos);
    EXPECT_EQ(warnings.find('\n'), warnings.size() - 1) << "exactly one line: " << warnings;
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(DebugLog, AnOverlongPathIsCutNotOverflowed) {
    std::string path = TestOutputDir() + "/" + std::string(30000, 'x');
    testing::internal::CaptureStderr();
    DebugLog log(path.c_str());
    log.Print("[core] Program init\n");
    std::string warnings = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::string(log.Path()).size(), static_cast<size_t>(DebugLog::kPathCapacity - 1));
    EXPECT_NE(warnings.find("cannot create the log file"), std::string::npos);
}

}  // namespace
