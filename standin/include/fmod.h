// The tracker sound library's calls the music player uses, with their
// original names, arguments and results.
#pragma once

#ifndef F_API
#define F_API
#endif

typedef struct FMUSIC_MODULE FMUSIC_MODULE;

// Codes FSOUND_GetError returns for the last failed call. A call that
// succeeds leaves the code as it was.
enum FMOD_ERRORS {
    FMOD_ERR_NONE = 0,           // no error
    FMOD_ERR_UNINITIALIZED = 2,  // FSOUND_Init was not called, or FSOUND_Close was
    FMOD_ERR_INIT = 3,           // no sound system: no audio device could be opened (the music
                                 // then plays silently), or FSOUND_Init was given a rate it cannot mix at
    FMOD_ERR_FILE_NOTFOUND = 9,  // the file does not exist or cannot be read
    FMOD_ERR_FILE_FORMAT = 10,   // the file is not a module the library can load
    FMOD_ERR_FILE_BAD = 11,      // the file looks like a module but is damaged
    FMOD_ERR_MEMORY = 12,        // out of memory
};

#ifdef __cplusplus
extern "C" {
#endif

// Prepares output at mixrate Hz (8000 to 48000), 16-bit stereo. Returns
// non-zero when an audio device is open (or a host's virtual clock is on). Without one the songs still load,
// play and keep time, silently, and FSOUND_GetError gives FMOD_ERR_INIT.
// Calling it again with the same rate changes nothing. The channel count and
// flags are accepted and ignored: the decoder allocates its own voices.
signed char F_API FSOUND_Init(int mixrate, int maxsoftwarechannels, unsigned int flags);

// Stops the music, closes the device and frees every loaded song; the
// handles are invalid afterwards. FSOUND_Init may be called again.
void F_API FSOUND_Close(void);

// Loads a module; null on failure (see FSOUND_GetError).
FMUSIC_MODULE* F_API FMUSIC_LoadSong(const char* name);

// Starts the song from its beginning; one song plays at a time, so a song
// already playing stops. A null song "plays" silence on the wall clock:
// FMUSIC_GetTime(null) then counts from this call, and the result is 0.
signed char F_API FMUSIC_PlaySong(FMUSIC_MODULE* mod);

// Stops the song; its time stays where it stopped.
signed char F_API FMUSIC_StopSong(FMUSIC_MODULE* mod);

// Milliseconds of the song heard since FMUSIC_PlaySong: what the audio
// device has played, not what was decoded ahead of it. Never decreases while
// the song plays, and keeps growing when the song loops to its restart
// position. 0 before the song was played.
int F_API FMUSIC_GetTime(FMUSIC_MODULE* mod);

int F_API FSOUND_GetError(void);

#ifdef __cplusplus
}
#endif
