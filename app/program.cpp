#include "app/program.h"

#include <optional>

#include "app/font_charset.h"
#include "core/data_path.h"
#include "core/debug_log.h"
#include "core/sine_table.h"
#include "demo/duck_row.h"
#include "demo/guess_game.h"
#include "demo/intro.h"
#include "gfx/bitmap.h"
#include "gfx/font.h"
#include "sound/music_player.h"

// The program-wide objects, constructed in this order so that at exit the
// log's footer is written first and the pixels are released last. The
// platform's Display, whose constructor does nothing, lives beside its code.
Font font;
MusicPlayer musicPlayer;
Bitmap backBuffer;
DebugLog debugLog;

InputState inputState;

namespace {

// The order the frames are loaded in, by SpriteSet index.
constexpr int32_t kFrameLoadOrder[kDuckFrameCount] = {0, 1, 2, 7, 9, 10, 8, 3, 4, 11, 12, 5, 6, 13, 14, 15, 16, 17, 18};

// What the driver owns for the length of its run.
struct Show {
    DuckRow row{backBuffer};
    GuessGame game{backBuffer, font};
    IntroEnvelopes envelopes;
    std::span<const IntroTextLine> introLines;
    bool introFinished = false;
};

// Made by StartProgram in place, for the passes that follow to share.
std::optional<Show> running;

void StartUp(Display& display, InstanceHandle instance, const GuessPrompt& prompt, Show& show) {
    debugLog.Print("[core] Program init\n");
    std::span<const IntroTextLine> table = IntroTextLines();
    for (size_t i = 0; i < show.introLines.size(); ++i)
        if (show.introLines[i].text != table[i].text)
            debugLog.Print("[core] Greeting: \"%s\"\n", show.introLines[i].text);
    BuildSineTable();

    debugLog.Print("[core] Creating backbuffer\n");
    backBuffer.Create(kBackBufferWidth, kBackBufferHeight);

    debugLog.Print("[core] Loading font\n");
    font.Load(ResolveDataPath("data\\fonts.tga"), kFontCharset);

    debugLog.Print("[core] Opening graphics\n");
    display.Open(instance);

    debugLog.Print("[core] Initializing syncs\n");
    for (int32_t index : kFrameLoadOrder) show.row.LoadFrame(index, kDuckFrameFiles[index]);
    show.game.TakeFrames(show.row);
    show.game.prompt = prompt;
    AddIntroCues(show.row);

    debugLog.Print("[core] Initializing music\n");
    musicPlayer.Load(ResolveDataPath("data\\duck.xm"));
    SetIntroEnvelopes(show.envelopes);

    debugLog.Print("[core] Entering mainloop\n");
    musicPlayer.Play();
    show.introFinished = false;
}

// One pass: clear, pump one message, read the clock once, draw, present.
void RunPass(Display& display, Show& show) {
    backBuffer.Clear();
    display.PumpMessages();
    int32_t t = musicPlayer.GetTime();
    if (show.introFinished) {
        show.game.Step();
    } else {
        DrawIntroFrame(t, show.row, show.envelopes, font, show.introLines);
        // The song may stop or restart later; the game stays.
        if (t > show.envelopes.finaleFadeIn.endTime) show.introFinished = true;
    }
    display.Present(backBuffer.pixels);
}

}  // namespace

void StartProgram(Display& display, InstanceHandle instance, const GuessPrompt& prompt,
                  std::span<const IntroTextLine> introLines) {
    running.emplace();
    running->introLines = introLines;
    StartUp(display, instance, prompt, *running);
}

void RunProgramPass(Display& display) { RunPass(display, *running); }

int StopProgram(Display& display) {
    musicPlayer.Stop();
    display.Close();
    return 1;
}

const GuessGame& ProgramGame() { return running->game; }

int RunProgram(Display& display, InstanceHandle instance, const GuessPrompt& prompt,
               std::span<const IntroTextLine> introLines) {
    StartProgram(display, instance, prompt, introLines);
    while (inputState.quit == 0) RunProgramPass(display);
    return StopProgram(display);
}
