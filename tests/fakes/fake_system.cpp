#include "fakes/fake_system.h"

#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

#include "core/platform.h"
#include "support/test_files.h"

FakeSystem& TheFakeSystem() {
    static FakeSystem fakeSystem;
    return fakeSystem;
}

void ResetFakeSystem() { TheFakeSystem() = FakeSystem{}; }

namespace {

// Each test process gets a folder of its own to stand in as the program's,
// so test cases running side by side never share the program's log file.
const std::string& OwnProcessPath() {
    static const std::string path = [] {
        char own[4096] = {};
        ssize_t length = readlink("/proc/self/exe", own, sizeof own - 1);
        std::string name = length > 0 ? std::filesystem::path(own).filename().string() : "tests";
        std::filesystem::path folder = std::filesystem::path(TestOutputPath()) / "processes" / std::to_string(getpid());
        return (folder / name).string();
    }();
    return path;
}

// The folder is made when tests run: a test program asked only for its list
// of cases (as the build does to register them) makes nothing.
class OwnProcessFolder : public ::testing::Environment {
public:
    void SetUp() override {
        std::filesystem::create_directories(std::filesystem::path(OwnProcessPath()).parent_path());
    }
};

[[maybe_unused]] ::testing::Environment* const ownProcessFolder =
    ::testing::AddGlobalTestEnvironment(new OwnProcessFolder);

}  // namespace

int32_t SystemExecutablePath(char* buffer, int32_t capacity) {
    if (capacity <= 0) return 0;
    std::string path = TheFakeSystem().executablePath;
    if (path.empty()) path = OwnProcessPath();
    size_t length = std::min(path.size(), static_cast<size_t>(capacity - 1));
    std::memcpy(buffer, path.data(), length);
    buffer[length] = '\0';
    return static_cast<int32_t>(length);
}

uint32_t SystemTickCount() { return TheFakeSystem().tickCount(); }

void SystemShowCursor() { ++TheFakeSystem().showCursorCalls; }

int32_t SystemStateFolder(char* buffer, int32_t capacity) {
    if (capacity <= 0) return 0;
    const std::string& folder = TheFakeSystem().stateFolder;
    if (folder.size() >= static_cast<size_t>(capacity)) {
        buffer[0] = '\0';
        return 0;
    }
    std::memcpy(buffer, folder.c_str(), folder.size() + 1);
    return static_cast<int32_t>(folder.size());
}

bool SystemClaimName(const char* name) {
    FakeSystem& system = TheFakeSystem();
    system.claimedNames.push_back(name);
    return system.claimedNames.size() > system.namesHeldByOthers;
}
