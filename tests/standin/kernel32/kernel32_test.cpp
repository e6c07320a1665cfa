#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <windows.h>

#include "standin/kernel32/own_path.h"
#include "support/test_files.h"

namespace {

std::wstring Widen(const std::string& narrow) {
    int size = MultiByteToWideChar(CP_ACP, 0, narrow.data(), static_cast<int>(narrow.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_ACP, 0, narrow.data(), static_cast<int>(narrow.size()), wide.data(), size);
    return wide;
}

std::string Narrow(const std::wstring& wide) {
    int size = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, "?", nullptr);
    std::string narrow(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), narrow.data(), size, "?", nullptr);
    return narrow;
}

TEST(WideCharacters, PathsSurviveTheRoundTripByteForByte) {
    struct Case {
        const char* bytes;
        size_t wideLength;
    };
    // Latin, CJK and a duck beyond the 16-bit plane; then bytes that are no
    // UTF-8 at all: a lone continuation, a cut sequence, an overlong slash.
    for (Case c : {Case{"/home/ana/duckdemo", 18},
                   Case{"/tmp/d\xC3\xBC"
                        "ck \xE6\x97\xA5\xE6\x9C\xAC/\xF0\x9F\xA6\x86",
                        14},
                   Case{"/tmp/\x80x", 7}, Case{"/tmp/\xE6\x97", 7}, Case{"/tmp/\xC0\xAF", 7}}) {
        std::wstring wide = Widen(c.bytes);
        EXPECT_EQ(wide.size(), c.wideLength) << c.bytes;
        EXPECT_EQ(Narrow(wide), c.bytes);
    }
    EXPECT_EQ(Widen("d\xC3\xBC"), std::wstring(L"d\u00FC"));
}

// A folder whose name is not ASCII, and a program in it, found without /proc.
class OwnPathTest : public testing::Test {
protected:
    void SetUp() override {
        folder =
            std::filesystem::path(TestFilePath("d\xC3\xBC"
                                               "ck \xE6\x97\xA5\xE6\x9C\xAC"));
        std::filesystem::create_directories(folder);
        program = (folder / "duckdemo-ce").string();
        WriteWholeFile(program, "");
        standin::UseOwnPathLink("/nonexistent/exe");
    }
    void TearDown() override {
        standin::UseOwnPathLink("/proc/self/exe");
        standin::RememberStartPath(nullptr);
    }
    std::filesystem::path folder;
    std::string program;
};

TEST_F(OwnPathTest, WithoutProcTheStartPathIsUsedMadeAbsolute) {
    std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    standin::RememberStartPath("./duckdemo-ce");
    std::filesystem::current_path(before);
    char path[1000];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    EXPECT_EQ(std::string(path, length), std::filesystem::canonical(program).string());
}

TEST_F(OwnPathTest, TheWidePathHoldsTheFolderNameAsWrittenAndACutPathSaysSo) {
    standin::RememberStartPath(program.c_str());
    WCHAR wide[1000];
    DWORD length = GetModuleFileNameW(nullptr, wide, 1000);
    EXPECT_EQ(Narrow(std::wstring(wide, length)), std::filesystem::canonical(program).string());
    // As Windows does: cut, terminated, and the buffer's size returned.
    EXPECT_EQ(GetModuleFileNameW(nullptr, wide, 8), 8u);
    EXPECT_EQ(wide[7], 0);
    char narrow[8];
    EXPECT_EQ(GetModuleFileNameA(nullptr, narrow, 8), 8u);
    EXPECT_EQ(narrow[7], '\0');
}

}  // namespace
