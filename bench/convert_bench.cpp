// The desktop's and the handheld's pixel conversions beside SDL_ConvertPixels.
#include <SDL.h>

#include "bench/bench_goals.h"
#include "gfx/bitmap.h"
#include "platform/desktop/convert.h"
#include "platform/pocketpc/convert.h"

namespace {

BenchFixture* fixture = nullptr;

int32_t BytesPerPixel(int32_t bitsPerPixel) { return (bitsPerPixel + 1) / 8; }

void Convert(benchmark::State& state, int32_t bitsPerPixel, int32_t width, int32_t height) {
    BenchDisplay& display = fixture->display;
    int32_t pitch = width * BytesPerPixel(bitsPerPixel);
    for (auto _ : state) {
        ConvertStaging(display.staging.data(), bitsPerPixel, display.surface.data(), pitch, width, height);
        benchmark::DoNotOptimize(display.surface.data());
    }
}

void SdlConvert(benchmark::State& state, uint32_t format, int32_t bitsPerPixel, int32_t width, int32_t height) {
    BenchDisplay& display = fixture->display;
    int32_t pitch = width * BytesPerPixel(bitsPerPixel);
    for (auto _ : state) {
        if (SDL_ConvertPixels(width, height, SDL_PIXELFORMAT_ARGB8888, display.staging.data(), width * 4, format,
                              display.surface.data(), pitch) != 0) {
            state.SkipWithError(SDL_GetError());
            break;
        }
        benchmark::DoNotOptimize(display.surface.data());
    }
}

void Handheld565(benchmark::State& state) {
    for (auto _ : state) {
        ConvertTo565(backBuffer.pixels, reinterpret_cast<uint16_t*>(fixture->display.surface.data()),
                     kBackBufferPixels);
        benchmark::DoNotOptimize(fixture->display.surface.data());
    }
}

struct DesktopFormat {
    const char* bits;
    int32_t bitsPerPixel;
    uint32_t sdlFormat;
};
constexpr DesktopFormat kDesktopFormats[] = {
    {"15", 15, SDL_PIXELFORMAT_RGB555}, {"16", 16, SDL_PIXELFORMAT_RGB565}, {"24", 24, SDL_PIXELFORMAT_BGR24}};
constexpr int32_t kWidths[] = {320, 640};

std::string SizeName(int32_t width) { return std::to_string(width) + "x" + std::to_string(width * 3 / 4); }

}  // namespace

void RegisterConvertBenchmarks(BenchFixture& benchFixture) {
    fixture = &benchFixture;
    for (const DesktopFormat& format : kDesktopFormats) {
        for (int32_t width : kWidths) {
            std::string suffix = std::string(format.bits) + "/" + SizeName(width);
            AddBenchmark("Convert/" + suffix, Convert, format.bitsPerPixel, width, width * 3 / 4);
            AddBenchmark("SdlConvert/" + suffix, SdlConvert, format.sdlFormat, format.bitsPerPixel, width,
                         width * 3 / 4);
        }
    }
    AddBenchmark("Handheld565", Handheld565);
    AddBenchmark("SdlConvert/565/240x320", SdlConvert, static_cast<uint32_t>(SDL_PIXELFORMAT_RGB565), 16, 240, 320);
}

void AddConvertGoals(const Medians& time, std::vector<BenchGoal>& goals) {
    for (const DesktopFormat& format : kDesktopFormats) {
        for (int32_t width : kWidths) {
            std::string suffix = std::string(format.bits) + "/" + SizeName(width);
            goals.push_back(
                AtLeast("desktop " + std::string(format.bits) + " bits " + SizeName(width) + " vs SDL_ConvertPixels",
                        time("SdlConvert/" + suffix) / time("Convert/" + suffix), "x faster", 5));
        }
    }
    goals.push_back(AtLeast("handheld 5-6-5 240x320 vs SDL_ConvertPixels",
                            time("SdlConvert/565/240x320") / time("Handheld565"), "x faster", 5));
}
