#include "sound/music_player.h"

#include <fmod.h>

#include "core/debug_log.h"

bool MusicPlayer::Load(const char* path) {
    debugLog.Print("[sfx] FSOUND_Init()...\n");
    FSOUND_Init(44100, 32, 0);

    debugLog.Print("[sfx] FMUSIC_LoadSong(\"%s\")...\n", path);
    song = FMUSIC_LoadSong(path);
    if (song != nullptr) return true;

    debugLog.Print("[ERROR] FSOUND FAILED: %d\n", FSOUND_GetError());
    return false;
}

void MusicPlayer::Play() {
    debugLog.Print("[sfx] FMUSIC_PlaySong()...\n");
    FMUSIC_PlaySong(song);
}

int32_t MusicPlayer::GetTime() const { return FMUSIC_GetTime(song); }

void MusicPlayer::Stop() {
    debugLog.Print("[sfx] FMUSIC_StopSong()...\n");
    FMUSIC_StopSong(song);
}
