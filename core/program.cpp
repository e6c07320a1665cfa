#include "core/program.h"

#include "core/data_path.h"
#include "core/debug_log.h"
#include "core/sine_table.h"
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

void StartUp(Display& display, InstanceHandle instance) {
    debugLog.Print("[core] Program init\n");
    BuildSineTable();

    debugLog.Print("[core] Creating backbuffer\n");
    backBuffer.Create(kBackBufferWidth, kBackBufferHeight);

    debugLog.Print("[core] Loading font\n");
    font.Load(ResolveDataPath("data\\fonts.tga"), kFontCharset);

    debugLog.Print("[core] Opening graphics\n");
    display.Open(instance);

    debugLog.Print("[core] Initializing syncs\n");

    debugLog.Print("[core] Initializing music\n");
    musicPlayer.Load(ResolveDataPath("data\\duck.xm"));

    debugLog.Print("[core] Entering mainloop\n");
    musicPlayer.Play();
}

// One pass: clear, pump one message, read the clock once, draw, present.
// Returns whether the intro has finished, which is never undone.
bool RunPass(Display& display, bool introFinished) {
    backBuffer.Clear();
    display.PumpMessages();
    int32_t t = musicPlayer.GetTime();
    if (!introFinished && t > kIntroEndTime) introFinished = true;
    display.Present(backBuffer.pixels);
    return introFinished;
}

void ShutDown(Display& display) {
    musicPlayer.Stop();
    display.Close();
}

}  // namespace

int RunProgram(Display& display, InstanceHandle instance) {
    StartUp(display, instance);

    bool introFinished = false;
    while (inputState.quit == 0) introFinished = RunPass(display, introFinished);

    ShutDown(display);
    return 1;
}
