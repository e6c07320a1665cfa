// The system services of core/platform.h for tests: the executable stands in
// a folder of its own for each test process unless a test sets a path, and
// the tick counter is scripted.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct FakeSystem {
    std::string executablePath;  // empty: <output>/processes/<pid>/<test program>
    std::string stateFolder;     // with its separator; empty: the system has none
    std::function<uint32_t()> tickCount = [] { return 0u; };
    int showCursorCalls = 0;
    std::vector<std::string> claimedNames;
    size_t namesHeldByOthers = 0;  // the first this many claims find their name held
};

// A function, not a global: the program's log resolves its path through it
// while globals are still being constructed.
FakeSystem& TheFakeSystem();

// Back to the defaults above.
void ResetFakeSystem();
