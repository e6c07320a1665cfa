// The back buffer's drawing calls beside memcpy and memset of as many bytes.
#include <cstring>

#include "app/program.h"
#include "bench/bench_goals.h"
#include "demo/duck_row.h"
#include "gfx/bitmap.h"
#include "gfx/image.h"

namespace {

BenchFixture* fixture = nullptr;
constexpr size_t kBackBufferBytes = size_t{kBackBufferWidth} * kBackBufferHeight * sizeof(Pixel);

const Bitmap& Duck() { return *ProgramGame().stanceFrame; }

size_t DuckBytes() { return static_cast<size_t>(Duck().width) * Duck().height * sizeof(Pixel); }

void Memcpy(benchmark::State& state, size_t bytes) {
    for (auto _ : state) {
        std::memcpy(fixture->copyTarget.data(), fixture->copySource.data(), bytes);
        benchmark::DoNotOptimize(fixture->copyTarget.data());
        benchmark::ClobberMemory();
    }
}

void Memset(benchmark::State& state, size_t bytes) {
    for (auto _ : state) {
        std::memset(fixture->copyTarget.data(), 0, bytes);
        benchmark::DoNotOptimize(fixture->copyTarget.data());
        benchmark::ClobberMemory();
    }
}

void Clear(benchmark::State& state) {
    for (auto _ : state) {
        backBuffer.Clear();
        benchmark::DoNotOptimize(backBuffer.pixels);
    }
}

void BlitDuck(benchmark::State& state, bool keyed) {
    for (auto _ : state) {
        if (keyed) {
            backBuffer.BlitKeyed(Duck(), kRowX, SlotY(2), kOpaqueBlack);
        } else {
            backBuffer.Blit(Duck(), kRowX, SlotY(2));
        }
        benchmark::DoNotOptimize(backBuffer.pixels);
    }
}

void ScaleBrightness(benchmark::State& state) {
    std::memcpy(backBuffer.pixels, fixture->copySource.data(), kBackBufferBytes);
    for (auto _ : state) {
        // 255 keeps the picture from fading to black over the iterations.
        backBuffer.ScaleBrightness(255);
        benchmark::DoNotOptimize(backBuffer.pixels);
    }
}

// A copy of a duck frame, turned as the frames are when they load.
void QuarterTurnFrame(benchmark::State& state) {
    Image frame;
    frame.Create(Duck().width, Duck().height);
    std::memcpy(frame.pixels, Duck().pixels, DuckBytes());
    for (auto _ : state) {
        frame.QuarterTurn();
        benchmark::DoNotOptimize(frame.pixels);
    }
}

}  // namespace

void RegisterBitmapBenchmarks(BenchFixture& benchFixture) {
    fixture = &benchFixture;
    AddBenchmark("Clear", Clear);
    AddBenchmark("Memset/BackBuffer", Memset, kBackBufferBytes);
    AddBenchmark("Blit/duck", BlitDuck, false);
    AddBenchmark("BlitKeyed/duck", BlitDuck, true);
    AddBenchmark("Memcpy/duck", Memcpy, DuckBytes());
    AddBenchmark("ScaleBrightness", ScaleBrightness);
    AddBenchmark("Memcpy/BackBuffer", Memcpy, kBackBufferBytes);
    AddBenchmark("QuarterTurn/duck", QuarterTurnFrame);
    AddBenchmark("Memcpy/double", Memcpy, kBackBufferBytes * 4);
}

void AddBitmapGoals(const Medians& time, std::vector<BenchGoal>& goals) {
    goals.push_back(AtMost("Clear vs memset", time("Clear") / time("Memset/BackBuffer"), "x memset", 1.2));
    goals.push_back(AtMost("Blit duck frame vs memcpy", time("Blit/duck") / time("Memcpy/duck"), "x memcpy", 1.2));
    goals.push_back(Figure("BlitKeyed duck frame vs memcpy", time("BlitKeyed/duck") / time("Memcpy/duck"), "x memcpy"));
    goals.push_back(
        AtMost("ScaleBrightness vs memcpy", time("ScaleBrightness") / time("Memcpy/BackBuffer"), "x memcpy", 2));
    goals.push_back(Figure("QuarterTurn of a duck frame (at load)", time("QuarterTurn/duck") / 1000, "us"));
}
