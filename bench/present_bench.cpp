// What presenting one frame costs on each platform, before the system shows
// it: the desktop's turn into the staging picture and its conversion to the
// surface's format, and the handheld's 5-6-5 conversion.
#include <benchmark/benchmark.h>
#include <vector>

#include "platform/desktop/convert.h"
#include "platform/pocketpc/convert.h"

namespace {

std::vector<Pixel> Frame() {
    std::vector<Pixel> frame(kBackBufferWidth * kBackBufferHeight);
    for (size_t i = 0; i < frame.size(); ++i) frame[i] = 0xFF000000u | static_cast<Pixel>(i * 2654435761u);
    return frame;
}

void BM_DesktopPresent(benchmark::State& state) {
    bool doubleSize = state.range(0) == 2;
    int32_t bitsPerPixel = static_cast<int32_t>(state.range(1));
    int32_t width = doubleSize ? 640 : 320;
    int32_t height = doubleSize ? 480 : 240;
    int32_t pitch = width * ((bitsPerPixel + 1) / 8);
    std::vector<Pixel> frame = Frame();
    std::vector<Pixel> staging(kStagingMaxWidth * kStagingMaxHeight);
    std::vector<uint8_t> surface(static_cast<size_t>(pitch) * height);
    for (auto _ : state) {
        TurnIntoStaging(frame.data(), staging.data(), doubleSize);
        ConvertStaging(staging.data(), bitsPerPixel, surface.data(), pitch, width, height);
        benchmark::DoNotOptimize(surface.data());
    }
    state.SetLabel(std::to_string(width) + "x" + std::to_string(height) + " at " + std::to_string(bitsPerPixel));
}
BENCHMARK(BM_DesktopPresent)->Args({1, 32})->Args({1, 16})->Args({1, 24})->Args({2, 32})->Args({2, 15});

void BM_HandheldPresent(benchmark::State& state) {
    std::vector<Pixel> frame = Frame();
    std::vector<uint16_t> frameBuffer(kBackBufferPixels);
    for (auto _ : state) {
        ConvertTo565(frame.data(), frameBuffer.data(), kBackBufferPixels);
        benchmark::DoNotOptimize(frameBuffer.data());
    }
}
BENCHMARK(BM_HandheldPresent);

}  // namespace
