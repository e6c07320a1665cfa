#include "formats/wav_writer.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

namespace {

constexpr int kHeaderBytes = 44;
constexpr int kRiffSizeOffset = 4;
constexpr int kDataSizeOffset = 40;
constexpr int kBytesPerFrame = 4;

void PutLittleEndian(unsigned char* destination, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) destination[i] = static_cast<unsigned char>(value >> (8 * i));
}

}  // namespace

WavWriter::WavWriter(std::string path) : path(std::move(path)) {}

WavWriter::~WavWriter() { Finish(); }

void WavWriter::Start(int rate) {
    if (failed || finished) return;
    if (file != nullptr) {
        if (rate != sampleRate) Fail("a song at another rate");
        return;
    }
    file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        Fail(std::strerror(errno));
        return;
    }
    sampleRate = rate;
    // The sizes stay 0 until Finish knows them.
    unsigned char header[kHeaderBytes] = {};
    std::memcpy(header, "RIFF", 4);
    std::memcpy(header + 8, "WAVEfmt ", 8);
    PutLittleEndian(header + 16, 16, 4);  // the format chunk's size
    PutLittleEndian(header + 20, 1, 2);   // PCM
    PutLittleEndian(header + 22, 2, 2);   // channels
    PutLittleEndian(header + 24, static_cast<uint32_t>(rate), 4);
    PutLittleEndian(header + 28, static_cast<uint32_t>(rate * kBytesPerFrame), 4);
    PutLittleEndian(header + 32, kBytesPerFrame, 2);
    PutLittleEndian(header + 34, 16, 2);  // bits per sample
    std::memcpy(header + 36, "data", 4);
    if (std::fwrite(header, 1, sizeof header, file) != sizeof header) Fail(std::strerror(errno));
}

void WavWriter::Write(const int16_t* frames, int frameCount) {
    if (file == nullptr || failed || frameCount <= 0) return;
    if (framesWritten + frameCount > kMaxFrames) {
        Fail("longer than a WAV file can hold");
        return;
    }
    // WAV is little-endian whatever the machine is.
    unsigned char bytes[4096];
    int samples = frameCount * 2;
    for (int done = 0; done < samples;) {
        int count = std::min(samples - done, static_cast<int>(sizeof bytes / 2));
        for (int i = 0; i < count; ++i) {
            PutLittleEndian(bytes + 2 * i, static_cast<uint16_t>(frames[done + i]), 2);
        }
        if (std::fwrite(bytes, 2, static_cast<size_t>(count), file) != static_cast<size_t>(count)) {
            Fail(std::strerror(errno));
            return;
        }
        done += count;
    }
    framesWritten += frameCount;
}

bool WavWriter::Finish() {
    if (finished) return !failed;
    finished = true;
    if (file == nullptr) return !failed;

    auto dataBytes = static_cast<uint32_t>(framesWritten * kBytesPerFrame);
    unsigned char size[4];
    PutLittleEndian(size, dataBytes + 36, 4);
    bool written = std::fseek(file, kRiffSizeOffset, SEEK_SET) == 0 && std::fwrite(size, 1, 4, file) == 4;
    PutLittleEndian(size, dataBytes, 4);
    written = written && std::fseek(file, kDataSizeOffset, SEEK_SET) == 0 && std::fwrite(size, 1, 4, file) == 4;
    bool closed = std::fclose(file) == 0;
    file = nullptr;
    if (!written || !closed) Fail(std::strerror(errno));
    return !failed;
}

// A capture that loses its sound should still finish its pictures; say so
// once where the person running it will see it.
void WavWriter::Fail(const char* reason) {
    if (failed) return;
    failed = true;
    std::fprintf(stderr, "warning: the WAV file \"%s\" is incomplete: %s\n", path.c_str(), reason);
}
