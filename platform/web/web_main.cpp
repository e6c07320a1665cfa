// The page's entry point: the options the page read from its address, then
// the driver, one pass an animation frame once a click or a key starts it
// (browsers play sound only after one).
#include <emscripten.h>
#include <stdio.h>
#include <stdlib.h>

#include <optional>

#include "app/greeting.h"
#include "app/program.h"
#include "core/command_line.h"
#include "platform/web/display_canvas.h"
#include "sound/music_player.h"
#include "standin/fmod/fmod_host.h"

// canvas.js
extern "C" void WebPageState(const char* state);

namespace {

constexpr GuessPrompt kDesktopPrompt = {"use your mouse to guess!", 66, 256};
constexpr GuessPrompt kHandheldPrompt = {"use your stylus to guess!", 66, 260};

std::optional<CanvasDisplay> display;
IntroText introText;
bool started = false;
bool running = false;

const GuessPrompt& Prompt() { return display->view == WebView::Desktop ? kDesktopPrompt : kHandheldPrompt; }

void Pass() {
    RunProgramPass(*display);
    if (inputState.quit == 0) return;
    emscripten_cancel_main_loop();
    StopProgram(*display);
    running = false;
    WebPageState("stopped");
}

// Milliseconds from the page's ?at= or ?start=; -1 when the text is not one.
int32_t Milliseconds(const char* text) {
    char* end = nullptr;
    long value = strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 0 || value > 24 * 3600 * 1000L) return -1;
    return static_cast<int32_t>(value);
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE void WebStart() {
    if (started) return;
    started = running = true;
    StartProgram(*display, nullptr, Prompt(), introText.Lines());
    WebPageState("running");
    emscripten_set_main_loop(Pass, 0, 0);
}

// A hidden page stops drawing; the page suspends the music alongside.
EMSCRIPTEN_KEEPALIVE void WebSetHidden(int hidden) {
    if (!running) return;
    if (hidden) {
        emscripten_pause_main_loop();
    } else {
        emscripten_resume_main_loop();
    }
}

// What a test reads to play and to time the show.
EMSCRIPTEN_KEEPALIVE int WebShowTime() { return running ? musicPlayer.GetTime() : -1; }
EMSCRIPTEN_KEEPALIVE int WebGameLevel() { return running ? ProgramGame().level : 0; }
EMSCRIPTEN_KEEPALIVE int WebGameState() { return running ? ProgramGame().state : -1; }
EMSCRIPTEN_KEEPALIVE int WebMarkedSlot() { return running ? ProgramGame().markedSlot : -1; }
}

// The page hands its address's options over as words: --handheld, --at T,
// --start T, --from, --wish and --to with their texts.
int main(int argc, char** argv) {
    int32_t handheld = 0;
    const char* at = nullptr;
    const char* start = nullptr;
    GreetingOptions greeting;
    const CommandLineFlag flags[] = {{"--handheld", &handheld}};
    const CommandLineText texts[] = {{"--from", &greeting.from},
                                     {"--wish", &greeting.wish},
                                     {"--to", &greeting.to},
                                     {"--at", &at},
                                     {"--start", &start}};
    ProgramCommandLine program = {"duckdemo", "", "", flags, 1, texts, 5};
    CommandLineReading reading = ReadCommandLine(argv + 1, argc - 1, program);
    display.emplace(handheld != 0 ? WebView::Handheld : WebView::Desktop);
    program.name = handheld != 0 ? "duckdemo-ce" : "duckdemo";

    int32_t atMs = at != nullptr ? Milliseconds(at) : 0;
    int32_t startMs = start != nullptr ? Milliseconds(start) : 0;
    bool understood = reading.action == CommandLineAction::Run && atMs >= 0 && startMs >= 0;
    if (!understood) fprintf(stderr, "%s: the address's options are not understood\n", program.name);
    if (!understood || !MakeIntroText(program.name, greeting, introText)) {
        WebPageState("refused");
        return 2;
    }

    FmodStartSongsAt(startMs);
    if (at == nullptr) {
        WebPageState("ready");
        return 0;
    }
    // The show at one time on a virtual clock, as --capture --at draws it.
    FmodUseVirtualClock(nullptr, 1000);
    FmodStartSongsAt(atMs);
    StartProgram(*display, nullptr, Prompt(), introText.Lines());
    RunProgramPass(*display);
    StopProgram(*display);
    WebPageState("drawn");
    return 0;
}
