#include "bench/bench_program.h"

#include <algorithm>
#include <cstdio>

#include "app/program.h"
#include "platform/desktop/convert.h"
#include "standin/fmod/fmod_host.h"

// What each program brings of its own: data is read from the build folder,
// as if the bench were the demo beside it, and the tick counter is set by
// hand so a game step always lands where the benchmark wants it.
uint32_t benchTicks = 0;

int32_t SystemExecutablePath(char* buffer, int32_t capacity) {
    int32_t length = std::snprintf(buffer, static_cast<size_t>(capacity), "%s/micro_bench", DUCKDEMO_BUILD_DIR);
    return std::min(length, capacity - 1);
}
uint32_t SystemTickCount() { return benchTicks; }
void SystemShowCursor() {}
int32_t SystemStateFolder(char* buffer, int32_t capacity) {
    if (capacity > 0) buffer[0] = '\0';
    return 0;
}
bool SystemClaimName(const char*) { return true; }

namespace {

class SilentSink : public AudioSink {
public:
    void Start(int) override {}
    void Write(const int16_t*, int) override {}
};

SilentSink silence;
int32_t clockNow = 0;

template <typename Value>
void FillPattern(std::vector<Value>& values) {
    for (size_t i = 0; i < values.size(); ++i) values[i] = static_cast<Value>(0xFF000000u | (i * 2654435761u));
}

}  // namespace

void BenchDisplay::Present(const uint32_t* pixels) {
    uint32_t width = doubleSize ? 640 : 320, height = doubleSize ? 480 : 240;
    TurnAndConvert(pixels, doubleSize, staging.data(), 32, surface.data(), static_cast<int32_t>(width) * 4, width,
                   height);
}

BenchFixture& StartBenchProgram() {
    static BenchFixture fixture;
    fixture.display.staging.resize(kStagingMaxPixels);
    fixture.display.surface.resize(kStagingMaxPixels * 4);
    fixture.copySource.resize(kStagingMaxPixels * 4);
    fixture.copyTarget.resize(kStagingMaxPixels * 4);
    FillPattern(fixture.copySource);
    FillPattern(fixture.display.staging);
    FmodUseVirtualClock(&silence, 1000);
    StartProgram(fixture.display, nullptr, GuessPrompt{});
    return fixture;
}

void BenchClockTo(int32_t t) {
    if (t <= clockNow) return;
    FmodAdvanceVirtualClock(t - clockNow);
    clockNow = t;
}
