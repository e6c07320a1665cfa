// A Display that records what the driver asks of it and lets a test act
// inside the message pump, where the real window procedure runs.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/platform.h"

struct FakeDisplay : Display {
    bool Open(InstanceHandle instance) override {
        calls.push_back("open");
        openedWith = instance;
        return openSucceeds;
    }
    void PumpMessages() override {
        calls.push_back("pump");
        if (onPump) onPump(pumpCount);
        ++pumpCount;
    }
    void Present(const uint32_t* pixels) override {
        calls.push_back("present");
        presented.push_back(pixels);
        if (onPresent) onPresent(pixels);
    }
    void Close() override {
        calls.push_back("close");
        if (onClose) onClose();
    }

    bool openSucceeds = true;
    InstanceHandle openedWith = nullptr;
    int pumpCount = 0;
    std::function<void(int pass)> onPump;
    std::function<void(const uint32_t* pixels)> onPresent;
    std::function<void()> onClose;
    std::vector<std::string> calls;
    std::vector<const uint32_t*> presented;
};
