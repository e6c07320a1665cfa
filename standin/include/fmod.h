// The tracker sound library's calls the music player uses, with their
// original names, arguments and results.
#pragma once

#ifndef F_API
#define F_API
#endif

typedef struct FMUSIC_MODULE FMUSIC_MODULE;

// Codes FSOUND_GetError returns for the last failed call.
enum FMOD_ERRORS {
    FMOD_ERR_NONE = 0,           // no error
    FMOD_ERR_UNINITIALIZED = 2,  // FSOUND_Init was not called
    FMOD_ERR_INIT = 3,           // no sound system: the output device could not be opened
    FMOD_ERR_FILE_NOTFOUND = 9,  // the file does not exist or cannot be read
    FMOD_ERR_FILE_FORMAT = 10,   // the file is not a module the library can load
    FMOD_ERR_FILE_BAD = 11,      // the module is damaged
    FMOD_ERR_MEMORY = 12,        // out of memory
};

#ifdef __cplusplus
extern "C" {
#endif

// Prepares output at mixrate Hz. Returns non-zero on success.
signed char F_API FSOUND_Init(int mixrate, int maxsoftwarechannels, unsigned int flags);

// Loads a module; null on failure (see FSOUND_GetError).
FMUSIC_MODULE* F_API FMUSIC_LoadSong(const char* name);

signed char F_API FMUSIC_PlaySong(FMUSIC_MODULE* mod);
signed char F_API FMUSIC_StopSong(FMUSIC_MODULE* mod);

// Milliseconds played since FMUSIC_PlaySong.
int F_API FMUSIC_GetTime(FMUSIC_MODULE* mod);

int F_API FSOUND_GetError(void);

#ifdef __cplusplus
}
#endif
