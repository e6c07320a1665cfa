// The real program for the benchmarks: started once through the driver on a
// display that turns and converts each picture as the desktop does in 32
// bits, its music on a virtual clock the benchmarks set.
#pragma once

#include <cstdint>
#include <vector>

#include "core/platform.h"
#include "gfx/pixel.h"

// The desktop's 32-bit present, into memory; doubleSize as --double-size.
class BenchDisplay : public Display {
public:
    bool Open(InstanceHandle) override { return true; }
    void PumpMessages() override {}
    void Present(const uint32_t* pixels) override;
    void Close() override {}

    bool doubleSize = false;
    std::vector<Pixel> staging;
    std::vector<uint8_t> surface;
};

// What the benchmarks present into and copy, beside the program's own back
// buffer, font and game.
struct BenchFixture {
    BenchDisplay display;
    std::vector<uint8_t> copySource;
    std::vector<uint8_t> copyTarget;
};

// Starts the program (data from the build folder) and makes the fixture.
BenchFixture& StartBenchProgram();

// Moves the music's virtual clock on to t ms; it never goes back.
void BenchClockTo(int32_t t);

// The tick counter the game reads.
extern uint32_t benchTicks;
