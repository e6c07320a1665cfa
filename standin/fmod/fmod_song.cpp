// A song: a module file read whole, handed to libxmp, and the frames it
// renders.
#include <cstdio>
#include <cstring>
#include <new>
#include <sys/stat.h>
#include <vector>

#include "standin/fmod/fmod_internal.h"

namespace standin {

namespace {

// Far beyond any tracker module; a bigger file is not one, and reading it
// would only cost memory.
constexpr size_t kMaxModuleBytes = size_t{64} << 20;

int ReadModuleFile(const char* path, std::vector<unsigned char>& contents) {
    if (path == nullptr) return FMOD_ERR_FILE_NOTFOUND;
    // Only a regular file: opening a FIFO would wait for a writer forever.
    struct stat information;
    if (stat(path, &information) == 0 && !S_ISREG(information.st_mode)) return FMOD_ERR_FILE_NOTFOUND;
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return FMOD_ERR_FILE_NOTFOUND;

    int error = FMOD_ERR_NONE;
    unsigned char block[16384];
    for (;;) {
        size_t got = std::fread(block, 1, sizeof block, file);
        if (contents.size() + got > kMaxModuleBytes) {
            error = FMOD_ERR_FILE_FORMAT;
            break;
        }
        contents.insert(contents.end(), block, block + got);
        if (got < sizeof block) {
            if (std::ferror(file)) error = FMOD_ERR_FILE_NOTFOUND;
            break;
        }
    }
    std::fclose(file);
    return error;
}

int DecoderError(int xmpError) {
    switch (xmpError) {
        case XMP_ERROR_FORMAT:
        case XMP_ERROR_INVALID:  // an empty file
            return FMOD_ERR_FILE_FORMAT;
        case XMP_ERROR_SYSTEM:  // from memory, only an allocation can fail
            return FMOD_ERR_MEMORY;
        default:
            return FMOD_ERR_FILE_BAD;
    }
}

}  // namespace

FMUSIC_MODULE* LoadSongFile(const char* path, int* error) {
    std::vector<unsigned char> contents;
    *error = ReadModuleFile(path, contents);
    if (*error != FMOD_ERR_NONE) return nullptr;
    if (contents.empty()) {
        *error = FMOD_ERR_FILE_FORMAT;
        return nullptr;
    }

    xmp_context decoder = xmp_create_context();
    if (decoder == nullptr) {
        *error = FMOD_ERR_MEMORY;
        return nullptr;
    }
    // libxmp keeps its own copy of what it needs.
    int result = xmp_load_module_from_memory(decoder, contents.data(), static_cast<long>(contents.size()));
    if (result < 0) {
        xmp_free_context(decoder);
        *error = DecoderError(-result);
        return nullptr;
    }
    FMUSIC_MODULE* song = new (std::nothrow) FMUSIC_MODULE{};
    if (song == nullptr) {
        xmp_release_module(decoder);
        xmp_free_context(decoder);
        *error = FMOD_ERR_MEMORY;
        return nullptr;
    }
    song->decoder = decoder;
    return song;
}

void FreeSong(FMUSIC_MODULE* song) {
    xmp_end_player(song->decoder);
    xmp_release_module(song->decoder);
    xmp_free_context(song->decoder);
    delete song;
}

void RenderSong(FMUSIC_MODULE& song, int16_t* frames, int frameCount) {
    int bytes = frameCount * kBytesPerFrame;
    // Loop 0: at the song's end libxmp goes on from the restart position.
    if (song.decoder == nullptr || xmp_play_buffer(song.decoder, frames, bytes, 0) < 0) {
        std::memset(frames, 0, static_cast<size_t>(bytes));
    }
}

}  // namespace standin
