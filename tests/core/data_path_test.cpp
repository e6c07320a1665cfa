#include "core/data_path.h"

#include <unistd.h>

#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "fakes/fake_system.h"

namespace {

std::string Resolve(const char* executable, char separator, const char* relative) {
    char buffer[kDataPathCapacity];
    return ResolveDataPathFrom(executable, separator, relative, buffer, kDataPathCapacity);
}

TEST(ResolveDataPathFrom, PutsTheRelativePathBesideAWindowsExecutable) {
    EXPECT_EQ(Resolve("D:\\demo\\duckdemo.exe", '\\', "data\\duck.xm"), "D:\\demo\\data\\duck.xm");
    EXPECT_EQ(Resolve("D:\\duckdemo.exe", '\\', "data\\duck.xm"), "D:\\data\\duck.xm");
    EXPECT_EQ(Resolve("\\Program Files\\duck\\duckdemo-ce.exe", '\\', "qvDebug.log"),
              "\\Program Files\\duck\\qvDebug.log");
}

TEST(ResolveDataPathFrom, WithoutASeparatorReturnsTheArgumentItself) {
    char buffer[kDataPathCapacity];
    const char* relative = "data\\duck.xm";
    EXPECT_EQ(ResolveDataPathFrom("duckdemo.exe", '\\', relative, buffer, kDataPathCapacity), relative);
    EXPECT_EQ(ResolveDataPathFrom("/opt/duck/duckdemo", '\\', relative, buffer, kDataPathCapacity), relative);
}

TEST(ResolveDataPathFrom, TurnsBackslashesIntoTheSystemSeparator) {
    EXPECT_EQ(Resolve("/opt/duck/duckdemo", '/', "data\\duck.xm"), "/opt/duck/data/duck.xm");
    EXPECT_EQ(Resolve("/duckdemo", '/', "data\\sub\\fonts.tga"), "/data/sub/fonts.tga");
    EXPECT_EQ(Resolve("/opt/duck/duckdemo", '/', "qvDebug.log"), "/opt/duck/qvDebug.log");
}

TEST(PathSeparatorOf, AUnixPathSplitsAtSlashesEvenWhereANameHoldsABackslash) {
    const char* executable = "/home/duck/back\\slash/duckdemo";
    char separator = PathSeparatorOf(executable);
    EXPECT_EQ(separator, '/');
    EXPECT_EQ(Resolve(executable, separator, "data\\duck.xm"), "/home/duck/back\\slash/data/duck.xm");
    for (const char* windowsPath :
         {"D:\\demo\\duckdemo.exe", "\\Program Files\\duck\\duckdemo-ce.exe", "\\\\server\\share\\duckdemo.exe"})
        EXPECT_EQ(PathSeparatorOf(windowsPath), '\\') << windowsPath;
}

TEST(ResolveDataPathFrom, RefusesAResultTooLongForTheBufferWithoutOverflowing) {
    constexpr int32_t capacity = 32;
    std::vector<char> guarded(capacity + 16, '#');
    const char* result =
        ResolveDataPathFrom("/opt/duck/duckdemo", '/', "data\\a-rather-long-file-name.tga", guarded.data(), capacity);
    EXPECT_STREQ(result, "");
    for (int32_t i = capacity; i < capacity + 16; ++i) EXPECT_EQ(guarded[i], '#') << i;

    // One character less than the capacity still fits with its NUL.
    std::string fits = Resolve("/a/b", '/', std::string(kDataPathCapacity - 4, 'x').c_str());
    EXPECT_EQ(fits.size(), static_cast<size_t>(kDataPathCapacity - 1));
    EXPECT_EQ(Resolve("/a/b", '/', std::string(kDataPathCapacity - 3, 'x').c_str()), "");
}

class ResolveDataPathTest : public testing::Test {
protected:
    void TearDown() override { ResetFakeSystem(); }
};

TEST_F(ResolveDataPathTest, ResolvesBesideTheRunningExecutable) {
    TheFakeSystem().executablePath = "/srv/games/duckdemo";
    EXPECT_STREQ(ResolveDataPath("data\\fonts.tga"), "/srv/games/data/fonts.tga");
}

TEST_F(ResolveDataPathTest, SplitsTheRunningExecutablesPathAtItsOwnSeparator) {
    TheFakeSystem().executablePath = "D:\\demo\\duckdemo.exe";
    EXPECT_STREQ(ResolveDataPath("data\\fonts.tga"), "D:\\demo\\data\\fonts.tga");
}

TEST_F(ResolveDataPathTest, ConsecutiveCallsShareOneBuffer) {
    TheFakeSystem().executablePath = "/srv/games/duckdemo";
    const char* first = ResolveDataPath("data\\duck.xm");
    const char* second = ResolveDataPath("qvDebug.log");
    EXPECT_EQ(first, second);
    EXPECT_STREQ(first, "/srv/games/qvDebug.log");
}

TEST_F(ResolveDataPathTest, AnOverlongExecutablePathIsCutNotOverflowed) {
    TheFakeSystem().executablePath = "/" + std::string(5000, 'd') + "/duckdemo";
    const char* resolved = ResolveDataPath("data\\duck.xm");
    EXPECT_LT(std::strlen(resolved), static_cast<size_t>(kExecutablePathCapacity + 16));
}

TEST_F(ResolveDataPathTest, ByDefaultEachTestProcessHasAFolderOfItsOwn) {
    std::string resolved = ResolveDataPath("data\\duck.xm");
    std::string folder = "/processes/" + std::to_string(getpid()) + "/data/duck.xm";
    ASSERT_GT(resolved.size(), folder.size());
    EXPECT_EQ(resolved.front(), '/');
    EXPECT_EQ(resolved.substr(resolved.size() - folder.size()), folder);
}

TEST(OwnFolderIn, EndsInTheSeparatorOfTheBaseAndRefusesToCut) {
    struct Case {
        const char* base;
        int32_t capacity;
        const char* expected;
    };
    // "/s/duckdemo/" is 12 characters and its terminator one more.
    for (const Case& c : {Case{"/home/ann/.local/state", 100, "/home/ann/.local/state/duckdemo/"},
                          Case{"C:\\Users\\Ann\\AppData\\Local", 100, "C:\\Users\\Ann\\AppData\\Local\\duckdemo\\"},
                          Case{"/s", 13, "/s/duckdemo/"}, Case{"/s", 12, ""}}) {
        char buffer[100];
        std::memset(buffer, 'x', sizeof buffer);
        int32_t length = OwnFolderIn(c.base, buffer, c.capacity);
        EXPECT_EQ(std::string(buffer), c.expected) << c.base << " in " << c.capacity;
        EXPECT_EQ(length, static_cast<int32_t>(std::strlen(c.expected)));
    }
}

}  // namespace
