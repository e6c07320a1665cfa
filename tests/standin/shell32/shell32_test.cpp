// The shell's known folders on Linux: the user's state folder by the XDG
// rules, made when asked.
#include <shlobj.h>
#include <stdlib.h>

#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>

#include "support/test_files.h"

namespace {

// Sets or unsets a variable for one case, and puts it back after.
class Variable {
public:
    Variable(const char* name, const char* value) : name(name) {
        if (const char* old = getenv(name)) saved = old;
        if (value != nullptr)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~Variable() {
        if (saved)
            setenv(name, saved->c_str(), 1);
        else
            unsetenv(name);
    }

private:
    const char* name;
    std::optional<std::string> saved;
};

TEST(Shell32, TheStateFolderFollowsTheXdgRules) {
    struct Case {
        const char* stateHome;
        const char* home;
        const char* expected;  // null: no folder
    };
    for (const Case& c :
         {Case{"/srv/state", "/home/ann", "/srv/state"}, Case{nullptr, "/home/ann", "/home/ann/.local/state"},
          Case{"relative/state", "/home/ann", "/home/ann/.local/state"},
          Case{"", "/home/ann", "/home/ann/.local/state"}, Case{nullptr, nullptr, nullptr},
          Case{nullptr, "not/absolute", nullptr}}) {
        Variable stateHome("XDG_STATE_HOME", c.stateHome);
        Variable home("HOME", c.home);
        char path[MAX_PATH] = "x";
        HRESULT result = SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path);
        std::string label = std::string(c.stateHome ? c.stateHome : "(unset)") + ", " + (c.home ? c.home : "(unset)");
        if (c.expected == nullptr) {
            EXPECT_EQ(result, E_FAIL) << label;
            EXPECT_STREQ(path, "") << label;
        } else {
            EXPECT_EQ(result, S_OK) << label;
            EXPECT_STREQ(path, c.expected) << label;
        }
    }
}

TEST(Shell32, AskedToCreateItMakesEveryMissingFolderPrivateToTheUser) {
    std::filesystem::path stateHome = TestFilePath("state") + "/deep/er";
    std::filesystem::remove_all(stateHome.parent_path().parent_path());
    Variable variable("XDG_STATE_HOME", stateHome.c_str());
    char path[MAX_PATH] = {};
    ASSERT_EQ(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path),
              S_OK);
    EXPECT_EQ(std::string(path), stateHome.string());
    ASSERT_TRUE(std::filesystem::is_directory(stateHome));
    EXPECT_EQ(std::filesystem::status(stateHome).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_all);
    wchar_t wide[MAX_PATH] = {};
    EXPECT_TRUE(SHGetSpecialFolderPathW(nullptr, wide, CSIDL_APPDATA, TRUE));
    EXPECT_EQ(std::filesystem::path(wide), stateHome);
}

}  // namespace
