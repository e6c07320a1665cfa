// The sound library for tests: records the calls and plays a scripted clock.
#pragma once

#include <functional>
#include <string>
#include <vector>

struct FakeFmod {
    bool loadSucceeds = true;
    int errorCode = 0;
    std::function<int()> time = [] { return 0; };
    std::vector<std::string> calls;  // "init 44100 32 0", "load <path>", "play", "stop", "error"
    int getTimeCalls = 0;
};

FakeFmod& TheFakeFmod();

void ResetFakeFmod();
