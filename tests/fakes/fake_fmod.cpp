#include "fakes/fake_fmod.h"

#include <fmod.h>

FakeFmod& TheFakeFmod() {
    static FakeFmod fakeFmod;
    return fakeFmod;
}

// Any non-null address serves as the module handle.
static int fakeModule;

void ResetFakeFmod() { TheFakeFmod() = FakeFmod{}; }

signed char FSOUND_Init(int mixrate, int maxsoftwarechannels, unsigned int flags) {
    TheFakeFmod().calls.push_back("init " + std::to_string(mixrate) + " " + std::to_string(maxsoftwarechannels) + " " +
                                  std::to_string(flags));
    return 1;
}

FMUSIC_MODULE* FMUSIC_LoadSong(const char* name) {
    TheFakeFmod().calls.push_back(std::string("load ") + name);
    return TheFakeFmod().loadSucceeds ? reinterpret_cast<FMUSIC_MODULE*>(&fakeModule) : nullptr;
}

signed char FMUSIC_PlaySong(FMUSIC_MODULE*) {
    TheFakeFmod().calls.push_back("play");
    return 1;
}

signed char FMUSIC_StopSong(FMUSIC_MODULE*) {
    TheFakeFmod().calls.push_back("stop");
    return 1;
}

int FMUSIC_GetTime(FMUSIC_MODULE*) {
    ++TheFakeFmod().getTimeCalls;
    return TheFakeFmod().time();
}

int FSOUND_GetError() {
    TheFakeFmod().calls.push_back("error");
    return TheFakeFmod().errorCode;
}
