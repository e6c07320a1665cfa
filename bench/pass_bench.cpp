// Whole passes of the program's driver, and the desktop's present alone,
// beside memcpy of the picture's bytes.
#include "app/program.h"
#include "bench/bench_goals.h"
#include "demo/guess_game.h"
#include "gfx/bitmap.h"
#include "platform/desktop/convert.h"

namespace {

BenchFixture* fixture = nullptr;
constexpr int32_t kIntroTimes[] = {16800, 30600, 55855, 60000};

void TurnAndConvert32(benchmark::State& state, bool doubleSize) {
    BenchDisplay& display = fixture->display;
    display.doubleSize = doubleSize;
    for (auto _ : state) {
        display.Present(backBuffer.pixels);
        benchmark::DoNotOptimize(display.surface.data());
    }
}

// The driver's own pass (clear, pump, clock, draw, present) with the music's
// clock standing at t.
void IntroPass(benchmark::State& state, int32_t t) {
    BenchClockTo(t);
    fixture->display.doubleSize = false;
    for (auto _ : state) {
        RunProgramPass(fixture->display);
        benchmark::DoNotOptimize(fixture->display.surface.data());
    }
}

// Halfway through a swap at level 1, where two ducks are in flight, drawn
// and presented as the desktop does in 32 bits: the program's game, copied so
// the benchmark can hold it there.
void GameSwapPass(benchmark::State& state, bool doubleSize) {
    GuessGame game = ProgramGame();
    BenchDisplay& display = fixture->display;
    display.doubleSize = doubleSize;
    for (auto _ : state) {
        game.state = kSwap;
        game.swapSlot = 2;
        game.timerStart = 0;
        benchTicks = 250;
        backBuffer.Clear();
        game.Step();
        display.Present(backBuffer.pixels);
        benchmark::DoNotOptimize(display.surface.data());
    }
}

}  // namespace

void RegisterPassBenchmarks(BenchFixture& benchFixture) {
    fixture = &benchFixture;
    AddBenchmark("TurnAndConvert32/normal", TurnAndConvert32, false);
    AddBenchmark("TurnAndConvert32/double", TurnAndConvert32, true);
    for (int32_t t : kIntroTimes) AddBenchmark("IntroPass/" + std::to_string(t), IntroPass, t);
    AddBenchmark("GameSwapPass/normal", GameSwapPass, false);
    AddBenchmark("GameSwapPass/double", GameSwapPass, true);
}

void AddPassGoals(const Medians& time, std::vector<BenchGoal>& goals) {
    double memcpyBackBuffer = time("Memcpy/BackBuffer");
    goals.push_back(AtMost("turn + 32-bit, normal vs memcpy 307200 B",
                           time("TurnAndConvert32/normal") / memcpyBackBuffer, "x memcpy", 3));
    goals.push_back(AtMost("turn + 32-bit, double vs memcpy 1228800 B",
                           time("TurnAndConvert32/double") / time("Memcpy/double"), "x memcpy", 3));
    goals.push_back(AtMost("intro pass at 60000 vs memcpy", time("IntroPass/60000") / memcpyBackBuffer, "x memcpy", 8));
    for (int32_t t : kIntroTimes) {
        if (t == 60000) continue;
        goals.push_back(
            Figure("intro pass at " + std::to_string(t), time("IntroPass/" + std::to_string(t)) / 1000, "us"));
    }
    goals.push_back(
        Figure("game pass during a swap (clear, Step, turn, 32-bit)", time("GameSwapPass/normal") / 1000, "us"));
    goals.push_back(Figure("the same in double size", time("GameSwapPass/double") / 1000, "us"));
}
