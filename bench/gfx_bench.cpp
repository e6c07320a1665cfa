// The per-frame work of the software renderer on the 240 x 320 BackBuffer.
#include <benchmark/benchmark.h>

#include "demo/duck_row.h"
#include "gfx/bitmap.h"

namespace {

void FillPattern(Bitmap& bitmap) {
    for (int32_t i = 0; i < bitmap.width * bitmap.height; ++i) bitmap.pixels[i] = 0xFF000000u | (i * 2654435761u);
}

void BM_Clear(benchmark::State& state) {
    Bitmap frame;
    frame.Create(kBackBufferWidth, kBackBufferHeight);
    for (auto _ : state) {
        frame.Clear();
        benchmark::DoNotOptimize(frame.pixels);
    }
    state.SetBytesProcessed(state.iterations() * kBackBufferWidth * kBackBufferHeight * 4);
}
BENCHMARK(BM_Clear);

void BM_ScaleBrightness(benchmark::State& state) {
    Bitmap frame;
    frame.Create(kBackBufferWidth, kBackBufferHeight);
    FillPattern(frame);
    for (auto _ : state) {
        frame.ScaleBrightness(255);
        benchmark::DoNotOptimize(frame.pixels);
    }
    state.SetItemsProcessed(state.iterations() * kBackBufferWidth * kBackBufferHeight);
}
BENCHMARK(BM_ScaleBrightness);

// Six opaque 48 x 32 duck frames, as the intro draws the row.
void BM_BlitRow(benchmark::State& state) {
    Bitmap frame;
    frame.Create(kBackBufferWidth, kBackBufferHeight);
    Bitmap duck;
    duck.Create(48, 32);
    FillPattern(duck);
    for (auto _ : state) {
        for (int32_t slot = 0; slot < kDuckSlotCount; ++slot) frame.Blit(duck, kRowX, SlotY(slot));
        benchmark::DoNotOptimize(frame.pixels);
    }
}
BENCHMARK(BM_BlitRow);

void BM_BlitKeyedPair(benchmark::State& state) {
    Bitmap frame;
    frame.Create(kBackBufferWidth, kBackBufferHeight);
    Bitmap duck;
    duck.Create(48, 32);
    FillPattern(duck);
    for (int32_t i = 0; i < duck.width * duck.height; i += 3) duck.pixels[i] = kOpaqueBlack;
    for (auto _ : state) {
        frame.BlitKeyed(duck, 95, 200, kOpaqueBlack);
        frame.BlitKeyed(duck, 85, 175, kOpaqueBlack);
        benchmark::DoNotOptimize(frame.pixels);
    }
}
BENCHMARK(BM_BlitKeyedPair);

}  // namespace
