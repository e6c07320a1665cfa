// The speed goals, each measured beside what it is held against in the same
// process, and the whole program's capture runs; prints a table and writes it
// as JSON.
//
//   bench_summary [--program=DEMO [--xvfb=with_xvfb.sh]] [--summary=JSON]
//                 [--sound-figures=FILE, the sound server test's figures]
//                 [Google Benchmark flags]
#include <SDL.h>

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "app/font_charset.h"
#include "core/platform.h"
#include "core/sine_table.h"
#include "demo/duck_row.h"
#include "demo/guess_game.h"
#include "demo/intro.h"
#include "gfx/bitmap.h"
#include "gfx/font.h"
#include "gfx/image.h"
#include "platform/desktop/convert.h"
#include "platform/pocketpc/convert.h"

// The system services the demo's code asks for: data is read from the build
// folder, as if this program were the demo beside it, and the tick counter is
// set by hand so a game step always lands in the middle of a swap.
InputState inputState;
Font font;
uint32_t benchTicks = 0;

int32_t SystemExecutablePath(char* buffer, int32_t capacity) {
    int32_t length = std::snprintf(buffer, static_cast<size_t>(capacity), "%s/bench_summary", DUCKDEMO_BUILD_DIR);
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

constexpr size_t kBackBufferBytes = kBackBufferPixels * sizeof(Pixel);

void FillPattern(Pixel* pixels, size_t count) {
    for (size_t i = 0; i < count; ++i) pixels[i] = 0xFF000000u | static_cast<Pixel>(i * 2654435761u);
}

// Everything the benchmarks draw from and into, made once.
struct Fixture {
    Bitmap picture;
    DuckRow row{picture};
    IntroEnvelopes envelopes;
    GuessGame game{picture, font};
    std::vector<Pixel> staging = std::vector<Pixel>(kStagingMaxPixels);
    std::vector<uint8_t> surface = std::vector<uint8_t>(kStagingMaxPixels * 4);
    std::vector<uint8_t> copySource = std::vector<uint8_t>(kStagingMaxPixels * 4);
    std::vector<uint8_t> copyTarget = std::vector<uint8_t>(kStagingMaxPixels * 4);

    Fixture() {
        BuildSineTable();
        picture.Create(kBackBufferWidth, kBackBufferHeight);
        FillPattern(picture.pixels, kBackBufferPixels);
        FillPattern(staging.data(), staging.size());
        font.Load(DUCKDEMO_BUILD_DIR "/data/fonts.tga", kFontCharset);
        for (int32_t index = 0; index < kDuckFrameCount; ++index) row.LoadFrame(index, kDuckFrameFiles[index]);
        AddIntroCues(row);
        SetIntroEnvelopes(envelopes);
        game.TakeFrames(row);
    }
};

Fixture* fixture = nullptr;

size_t DuckBytes() {
    const Bitmap& duck = fixture->row.frames[kStance];
    return static_cast<size_t>(duck.width) * duck.height * sizeof(Pixel);
}

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

int32_t BytesPerPixel(int32_t bitsPerPixel) { return (bitsPerPixel + 1) / 8; }

void Convert(benchmark::State& state, int32_t bitsPerPixel, int32_t width, int32_t height) {
    int32_t pitch = width * BytesPerPixel(bitsPerPixel);
    for (auto _ : state) {
        ConvertStaging(fixture->staging.data(), bitsPerPixel, fixture->surface.data(), pitch, width, height);
        benchmark::DoNotOptimize(fixture->surface.data());
    }
}

void SdlConvert(benchmark::State& state, uint32_t format, int32_t bitsPerPixel, int32_t width, int32_t height) {
    int32_t pitch = width * BytesPerPixel(bitsPerPixel);
    for (auto _ : state) {
        if (SDL_ConvertPixels(width, height, SDL_PIXELFORMAT_ARGB8888, fixture->staging.data(), width * 4, format,
                              fixture->surface.data(), pitch) != 0) {
            state.SkipWithError(SDL_GetError());
            break;
        }
        benchmark::DoNotOptimize(fixture->surface.data());
    }
}

void Handheld565(benchmark::State& state) {
    for (auto _ : state) {
        ConvertTo565(fixture->picture.pixels, reinterpret_cast<uint16_t*>(fixture->surface.data()), kBackBufferPixels);
        benchmark::DoNotOptimize(fixture->surface.data());
    }
}

void Clear(benchmark::State& state) {
    for (auto _ : state) {
        fixture->picture.Clear();
        benchmark::DoNotOptimize(fixture->picture.pixels);
    }
}

void BlitDuck(benchmark::State& state, bool keyed) {
    const Bitmap& duck = fixture->row.frames[kStance];
    for (auto _ : state) {
        if (keyed) {
            fixture->picture.BlitKeyed(duck, kRowX, SlotY(2), kOpaqueBlack);
        } else {
            fixture->picture.Blit(duck, kRowX, SlotY(2));
        }
        benchmark::DoNotOptimize(fixture->picture.pixels);
    }
}

void ScaleBrightness(benchmark::State& state) {
    FillPattern(fixture->picture.pixels, kBackBufferPixels);
    for (auto _ : state) {
        // 255 keeps the picture from fading to black over the iterations.
        fixture->picture.ScaleBrightness(255);
        benchmark::DoNotOptimize(fixture->picture.pixels);
    }
}

// A copy of a duck frame, turned as the frames are when they load.
void QuarterTurnFrame(benchmark::State& state) {
    const Bitmap& duck = fixture->row.frames[kStance];
    Image frame;
    frame.Create(duck.width, duck.height);
    std::memcpy(frame.pixels, duck.pixels, DuckBytes());
    for (auto _ : state) {
        frame.QuarterTurn();
        benchmark::DoNotOptimize(frame.pixels);
    }
}

void TurnAndConvert32(benchmark::State& state, bool doubleSize) {
    int32_t width = doubleSize ? 640 : 320;
    int32_t height = doubleSize ? 480 : 240;
    for (auto _ : state) {
        TurnAndConvert(fixture->picture.pixels, doubleSize, fixture->staging.data(), 32, fixture->surface.data(),
                       width * 4, width, height);
        benchmark::DoNotOptimize(fixture->surface.data());
    }
}

void IntroPass(benchmark::State& state, int32_t t) {
    for (auto _ : state) {
        fixture->picture.Clear();
        DrawIntroFrame(t, fixture->row, fixture->envelopes, font);
        TurnAndConvert(fixture->picture.pixels, false, fixture->staging.data(), 32, fixture->surface.data(), 320 * 4,
                       320, 240);
        benchmark::DoNotOptimize(fixture->surface.data());
    }
}

// Halfway through a swap at level 1, where two ducks are in flight, drawn
// and presented as the desktop does in 32 bits.
void GameSwapPass(benchmark::State& state, bool doubleSize) {
    GuessGame& game = fixture->game;
    uint32_t width = doubleSize ? 640 : 320, height = doubleSize ? 480 : 240;
    for (auto _ : state) {
        game.state = kSwap;
        game.swapSlot = 2;
        game.timerStart = 0;
        benchTicks = 250;
        fixture->picture.Clear();
        game.Step();
        TurnAndConvert(fixture->picture.pixels, doubleSize, fixture->staging.data(), 32, fixture->surface.data(),
                       static_cast<int32_t>(width) * 4, width, height);
        benchmark::DoNotOptimize(fixture->surface.data());
    }
}

void RegisterAll() {
    auto add = [](const std::string& name, auto function, auto... arguments) {
        benchmark::RegisterBenchmark(name.c_str(), function, arguments...)
            ->Repetitions(5)
            ->ReportAggregatesOnly(true)
            ->MinTime(0.1);
    };
    struct DesktopFormat {
        int32_t bitsPerPixel;
        uint32_t sdlFormat;
    };
    for (DesktopFormat format : {DesktopFormat{15, SDL_PIXELFORMAT_RGB555}, DesktopFormat{16, SDL_PIXELFORMAT_RGB565},
                                 DesktopFormat{24, SDL_PIXELFORMAT_BGR24}}) {
        for (int32_t width : {320, 640}) {
            int32_t height = width * 3 / 4;
            std::string size = std::to_string(width) + "x" + std::to_string(height);
            std::string bits = std::to_string(format.bitsPerPixel);
            add("Convert/" + bits + "/" + size, Convert, format.bitsPerPixel, width, height);
            add("SdlConvert/" + bits + "/" + size, SdlConvert, format.sdlFormat, format.bitsPerPixel, width, height);
        }
    }
    add("Handheld565", Handheld565);
    add("SdlConvert/565/240x320", SdlConvert, static_cast<uint32_t>(SDL_PIXELFORMAT_RGB565), 16, 240, 320);

    add("Clear", Clear);
    add("Memset/BackBuffer", Memset, kBackBufferBytes);
    add("Blit/duck", BlitDuck, false);
    add("BlitKeyed/duck", BlitDuck, true);
    add("Memcpy/duck", Memcpy, DuckBytes());
    add("ScaleBrightness", ScaleBrightness);
    add("Memcpy/BackBuffer", Memcpy, kBackBufferBytes);
    add("QuarterTurn/duck", QuarterTurnFrame);
    add("TurnAndConvert32/normal", TurnAndConvert32, false);
    add("TurnAndConvert32/double", TurnAndConvert32, true);
    add("Memcpy/double", Memcpy, kBackBufferBytes * 4);
    for (int32_t t : {16800, 30600, 55855, 60000}) add("IntroPass/" + std::to_string(t), IntroPass, t);
    add("GameSwapPass/normal", GameSwapPass, false);
    add("GameSwapPass/double", GameSwapPass, true);
}

// Keeps the median real time of every benchmark, in nanoseconds, and shows
// the runs as the console reporter does.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
                medians[run.run_name.function_name] = run.GetAdjustedRealTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    std::map<std::string, double> medians;
};

struct Goal {
    std::string name;
    double measured = 0;
    std::string unit;
    std::string target;  // empty for a figure
    std::optional<bool> holds;
    std::string note;
};

Goal AtLeast(std::string name, double measured, std::string unit, double least) {
    char target[32];
    std::snprintf(target, sizeof target, ">= %g", least);
    return {std::move(name), measured, std::move(unit), target, measured >= least, ""};
}

Goal AtMost(std::string name, double measured, std::string unit, double most) {
    char target[32];
    std::snprintf(target, sizeof target, "<= %g", most);
    return {std::move(name), measured, std::move(unit), target, measured <= most, ""};
}

Goal Figure(std::string name, double measured, std::string unit) {
    return {std::move(name), measured, std::move(unit), "", std::nullopt, ""};
}

void AddBenchmarkGoals(const std::map<std::string, double>& medians, std::vector<Goal>& goals) {
    // A benchmark left out by --benchmark_filter leaves its goals out.
    auto time = [&](const std::string& name) {
        auto found = medians.find(name);
        return found == medians.end() ? std::nan("") : found->second;
    };
    for (const char* bits : {"15", "16", "24"}) {
        for (const char* size : {"320x240", "640x480"}) {
            std::string suffix = std::string(bits) + "/" + size;
            goals.push_back(AtLeast("desktop " + std::string(bits) + " bits " + size + " vs SDL_ConvertPixels",
                                    time("SdlConvert/" + suffix) / time("Convert/" + suffix), "x faster", 5));
        }
    }
    goals.push_back(AtLeast("handheld 5-6-5 240x320 vs SDL_ConvertPixels",
                            time("SdlConvert/565/240x320") / time("Handheld565"), "x faster", 5));
    double memcpyBackBuffer = time("Memcpy/BackBuffer");
    goals.push_back(AtMost("Clear vs memset", time("Clear") / time("Memset/BackBuffer"), "x memset", 1.2));
    goals.push_back(AtMost("Blit duck frame vs memcpy", time("Blit/duck") / time("Memcpy/duck"), "x memcpy", 1.2));
    goals.push_back(Figure("BlitKeyed duck frame vs memcpy", time("BlitKeyed/duck") / time("Memcpy/duck"), "x memcpy"));
    goals.push_back(AtMost("ScaleBrightness vs memcpy", time("ScaleBrightness") / memcpyBackBuffer, "x memcpy", 2));
    goals.push_back(AtMost("turn + 32-bit, normal vs memcpy 307200 B",
                           time("TurnAndConvert32/normal") / memcpyBackBuffer, "x memcpy", 3));
    goals.push_back(AtMost("turn + 32-bit, double vs memcpy 1228800 B",
                           time("TurnAndConvert32/double") / time("Memcpy/double"), "x memcpy", 3));
    goals.push_back(AtMost("intro pass at 60000 vs memcpy", time("IntroPass/60000") / memcpyBackBuffer, "x memcpy", 8));
    goals.push_back(Figure("QuarterTurn of a duck frame (at load)", time("QuarterTurn/duck") / 1000, "us"));
    for (const char* t : {"16800", "30600", "55855"}) {
        goals.push_back(Figure("intro pass at " + std::string(t), time("IntroPass/" + std::string(t)) / 1000, "us"));
    }
    goals.push_back(
        Figure("game pass during a swap (clear, Step, turn, 32-bit)", time("GameSwapPass/normal") / 1000, "us"));
    goals.push_back(Figure("the same in double size", time("GameSwapPass/double") / 1000, "us"));
    std::erase_if(goals, [](const Goal& goal) { return !std::isfinite(goal.measured); });
}

// Runs the demo with no display and returns the wall-clock seconds, or a
// negative number when it fails.
double RunProgram(const std::string& program, const std::string& arguments, const std::string& logPath) {
    std::string command = "env -u DISPLAY '" + program + "' " + arguments + " >'" + logPath + "' 2>&1";
    auto start = std::chrono::steady_clock::now();
    int status = std::system(command.c_str());
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // The demo ends a whole run with 1; capture's own failures give 2.
    int exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (exitCode != 0 && exitCode != 1) {
        std::fprintf(stderr, "bench_summary: '%s' failed (%d); see %s\n", command.c_str(), status, logPath.c_str());
        return -1;
    }
    return seconds;
}

double MedianRun(const std::string& program, const std::string& arguments, const std::filesystem::path& folder,
                 int32_t runs) {
    std::vector<double> seconds;
    for (int32_t run = 0; run < runs; ++run) {
        std::filesystem::remove_all(folder);
        double one = RunProgram(program, arguments, folder.string() + ".log");
        if (one < 0) return -1;
        seconds.push_back(one);
    }
    std::sort(seconds.begin(), seconds.end());
    return seconds[seconds.size() / 2];
}

void AddProgramGoals(const std::string& program, const std::filesystem::path& workFolder, std::vector<Goal>& goals) {
    const int32_t introEnd = IntroEndTime();
    const double introSeconds = introEnd / 1000.0;
    const double introFrames = introSeconds * 60;
    const std::string introName = "capture " + std::to_string(introEnd / 1000) + " s intro";
    const std::string introDuration = " --duration " + std::to_string(introEnd / 1000);
    std::filesystem::create_directories(workFolder);
    auto captureGoal = [&](const std::string& name, double seconds, std::optional<double> least) {
        if (seconds < 0) return;
        double realTime = seconds > 0 ? introSeconds / seconds : 0;
        char note[96];
        std::snprintf(note, sizeof note, "%.2f s wall, %.0f frames/s", seconds,
                      seconds > 0 ? introFrames / seconds : 0);
        Goal goal = least ? AtLeast(name, realTime, "x real time", *least) : Figure(name, realTime, "x real time");
        goal.note = note;
        goals.push_back(goal);
    };

    std::filesystem::path atOnly = workFolder / "at-only";
    std::string at = "--capture '" + atOnly.string() + "'" + introDuration + " --at " + std::to_string(introEnd - 1000);
    captureGoal(introName + ", --at only (median of 3)", MedianRun(program, at, atOnly, 3), 100);

    std::filesystem::path png = workFolder / "png";
    captureGoal(introName + " to PNG folder",
                MedianRun(program, "--capture '" + png.string() + "'" + introDuration, png, 1), 10);

    std::filesystem::path video = workFolder / "video";
    std::filesystem::path videoFile = video / "intro.mp4";
    std::filesystem::remove_all(video);
    std::filesystem::create_directories(video);
    double videoSeconds = RunProgram(program, "--capture '" + videoFile.string() + "'" + introDuration,
                                     (workFolder / "video.log").string());
    captureGoal(introName + " to video (mp4)", videoSeconds, std::nullopt);

    std::filesystem::path first = workFolder / "first";
    double startUp = MedianRun(program, "--capture '" + first.string() + "' --at 0", first, 5);
    if (startUp < 0) return;
    Goal goal = AtMost("start-up to first frame (median of 5)", startUp * 1000, "ms", 200);
    goal.note = "wall clock of --capture DIR --at 0, which ends after the first frame";
    goals.push_back(goal);
}

// The windowed program's processor time from 2 s to 22 s after it starts, on
// a virtual display of its own; sound goes to SDL's dummy driver.
void AddWindowedGoal(const std::string& program, const std::string& withXvfb, const std::filesystem::path& workFolder,
                     std::vector<Goal>& goals) {
    std::filesystem::path script = workFolder / "windowed.sh";
    std::ofstream(script) << "\"$1\" --no-setup >/dev/null 2>&1 &\n"
                             "pid=$!\n"
                             "sleep 2\n"
                             "before=$(cut -d' ' -f14,15 /proc/$pid/stat)\n"
                             "sleep 20\n"
                             "after=$(cut -d' ' -f14,15 /proc/$pid/stat)\n"
                             "kill $pid\n"
                             "wait $pid\n"
                             "echo $before $after $(getconf CLK_TCK)\n";
    std::string command =
        "SDL_AUDIODRIVER=dummy bash '" + withXvfb + "' sh '" + script.string() + "' '" + program + "' 2>/dev/null";
    FILE* output = popen(command.c_str(), "r");
    if (output == nullptr) return;
    long userBefore = 0, systemBefore = 0, userAfter = 0, systemAfter = 0, ticksPerSecond = 0;
    int fields = std::fscanf(output, "%ld %ld %ld %ld %ld", &userBefore, &systemBefore, &userAfter, &systemAfter,
                             &ticksPerSecond);
    pclose(output);
    if (fields != 5 || ticksPerSecond <= 0) {
        std::fprintf(stderr, "bench_summary: the windowed run gave no processor times\n");
        return;
    }
    double seconds = static_cast<double>(userAfter + systemAfter - userBefore - systemBefore) / ticksPerSecond;
    Goal goal = AtMost("20 s windowed run under Xvfb, share of one core", seconds / 20 * 100, "%", 15);
    goal.note = "utime+stime from /proc/PID/stat, 2 s to 22 s after start";
    goals.push_back(goal);
}

// The figures the sound server test printed in its last run: one line per
// program, its name, then name=value pairs (gaps, pace, sync, latency).
void AddSoundFigures(const std::string& path, std::vector<Goal>& goals) {
    std::ifstream in(path);
    std::string program;
    while (in >> program) {
        std::string line;
        std::getline(in, line);
        size_t at = 0;
        while ((at = line.find_first_not_of(' ', at)) != std::string::npos) {
            size_t end = line.find(' ', at);
            std::string pair = line.substr(at, end == std::string::npos ? std::string::npos : end - at);
            at = end == std::string::npos ? line.size() : end;
            size_t equals = pair.find('=');
            if (equals == std::string::npos) continue;
            std::string name = pair.substr(0, equals);
            std::string unit = name.ends_with("_pct") ? "%" : name.ends_with("_ms") ? "ms" : "count";
            Goal goal = Figure(program + " on PulseAudio: " + name, std::atof(pair.c_str() + equals + 1), unit);
            goal.note = "from the last make test (sound_sync_e2e)";
            goals.push_back(goal);
        }
    }
}

std::string JsonString(const std::string& text) {
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

void PrintTable(const std::vector<Goal>& goals) {
    std::printf("\n%-52s %12s %-12s %-8s %s\n", "goal", "measured", "unit", "target", "holds");
    for (const Goal& goal : goals) {
        const char* holds = !goal.holds ? "-" : *goal.holds ? "yes" : "NO";
        std::printf("%-52s %12.2f %-12s %-8s %-5s %s\n", goal.name.c_str(), goal.measured, goal.unit.c_str(),
                    goal.target.empty() ? "figure" : goal.target.c_str(), holds, goal.note.c_str());
    }
}

void WriteJson(const std::vector<Goal>& goals, const std::string& path) {
    std::ofstream out(path);
    out << "[\n";
    for (size_t i = 0; i < goals.size(); ++i) {
        const Goal& goal = goals[i];
        char measured[32];
        std::snprintf(measured, sizeof measured, "%.4g", goal.measured);
        out << "  {\"name\": " << JsonString(goal.name) << ", \"measured\": " << measured
            << ", \"unit\": " << JsonString(goal.unit)
            << ", \"target\": " << (goal.target.empty() ? "null" : JsonString(goal.target)) << ", \"holds\": "
            << (!goal.holds   ? "null"
                : *goal.holds ? "true"
                              : "false");
        if (!goal.note.empty()) out << ", \"note\": " << JsonString(goal.note);
        out << "}" << (i + 1 < goals.size() ? "," : "") << "\n";
    }
    out << "]\n";
}

// Takes --name=value out of argv, leaving the rest for Google Benchmark.
std::string TakeFlag(int& argc, char** argv, const std::string& name) {
    std::string prefix = "--" + name + "=";
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], prefix.c_str(), prefix.size()) != 0) continue;
        std::string value = argv[i] + prefix.size();
        std::copy(argv + i + 1, argv + argc, argv + i);
        --argc;
        return value;
    }
    return "";
}

}  // namespace

int main(int argc, char** argv) {
    std::string program = TakeFlag(argc, argv, "program");
    std::string summary = TakeFlag(argc, argv, "summary");
    std::string withXvfb = TakeFlag(argc, argv, "xvfb");
    std::string soundFigures = TakeFlag(argc, argv, "sound-figures");
    if (summary.empty()) summary = "bench-summary.json";
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;

    Fixture made;
    fixture = &made;
    RegisterAll();
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    std::vector<Goal> goals;
    AddBenchmarkGoals(reporter.medians, goals);
    if (!program.empty()) {
        std::filesystem::path workFolder = std::filesystem::path(summary).parent_path() / "bench-capture";
        AddProgramGoals(program, workFolder, goals);
        if (!withXvfb.empty()) AddWindowedGoal(program, withXvfb, workFolder, goals);
    }
    if (!soundFigures.empty()) AddSoundFigures(soundFigures, goals);
    PrintTable(goals);
    WriteJson(goals, summary);
    std::printf("\nwritten to %s\n", summary.c_str());
    return 0;
}
