// The sound stand-in's test mode: DUCKDEMO_CLOCK_LOG names a file that gets
// one line per FMUSIC_GetTime while a song plays, the system clock in
// microseconds and the time returned, so a measurement can set when each
// frame's time was read against when that music was heard in a recording.
// DUCKDEMO_START_MS starts every song that far in, for programs whose
// command line has no --start. Neither is read in a normal run.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "standin/fmod/fmod_host.h"
#include "standin/fmod/fmod_internal.h"

namespace standin {

namespace {

FILE* clockLog = nullptr;

}  // namespace

void ReadTestSettings() {
    if (const char* start = std::getenv("DUCKDEMO_START_MS")) FmodStartSongsAt(std::atoi(start));
    const char* path = std::getenv("DUCKDEMO_CLOCK_LOG");
    if (clockLog == nullptr && path != nullptr && *path != '\0') clockLog = std::fopen(path, "w");
}

void LogClockReading(int milliseconds) {
    if (clockLog == nullptr) return;
    auto now = std::chrono::system_clock::now().time_since_epoch();
    long long micros = std::chrono::duration_cast<std::chrono::microseconds>(now).count();
    std::fprintf(clockLog, "%lld %d\n", micros, milliseconds);
}

}  // namespace standin
