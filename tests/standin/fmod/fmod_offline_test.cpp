#include <stdlib.h>
#include <xmp.h>

#include <chrono>
#include <cstdint>
#include <cstring>
#include <fmod.h>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

#include "formats/wav_writer.h"
#include "standin/fmod/fmod_fixture.h"
#include "standin/fmod/fmod_host.h"
#include "support/test_files.h"
#include "support/xm_builder.h"

namespace {

// The rendered music into a WAV file, as a capture writes it.
class WavSink : public AudioSink {
public:
    explicit WavSink(const std::string& path) : wav(path) {}
    void Start(int sampleRate) override { wav.Start(sampleRate); }
    void Write(const int16_t* frames, int frameCount) override { wav.Write(frames, frameCount); }
    WavWriter wav;
};

constexpr int kRate = 44100;
constexpr int kTicksPerSecond = 24;  // 1837.5 frames a tick: a fraction to carry
constexpr int kWavHeaderBytes = 44;

uint32_t LittleEndianAt(const std::string& bytes, size_t offset, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[offset + i]);
    return value;
}

// What libxmp itself renders for the module, in one piece.
std::string RenderDirectly(const std::string& module, int frames) {
    xmp_context decoder = xmp_create_context();
    EXPECT_EQ(xmp_load_module_from_memory(decoder, module.data(), static_cast<long>(module.size())), 0);
    EXPECT_EQ(xmp_start_player(decoder, kRate, 0), 0);
    std::vector<int16_t> samples(static_cast<size_t>(frames) * 2);
    xmp_play_buffer(decoder, samples.data(), frames * 4, 0);
    xmp_end_player(decoder);
    xmp_release_module(decoder);
    xmp_free_context(decoder);
    std::string bytes(samples.size() * 2, '\0');
    for (size_t i = 0; i < samples.size(); ++i) {
        bytes[2 * i] = static_cast<char>(samples[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<char>((samples[i] >> 8) & 0xFF);
    }
    return bytes;
}

class FmodVirtualClock : public FmodTest {
protected:
    // Plays the module on a virtual clock moved one tick at a time, as a
    // capture at 24 pictures a second would; returns the WAV.
    std::string Capture(const std::string& modulePath, int ticks, const std::string& wavName) {
        std::string wavPath = TestFilePath(wavName);
        WavSink sink(wavPath);
        FmodUseVirtualClock(&sink, kTicksPerSecond);
        EXPECT_EQ(FSOUND_Init(kRate, 32, 0), 1);
        FMUSIC_MODULE* song = FMUSIC_LoadSong(modulePath.c_str());
        FMUSIC_PlaySong(song);
        for (int tick = 0; tick < ticks; ++tick) FmodAdvanceVirtualClock(1);
        lastTime = FMUSIC_GetTime(song);
        FSOUND_Close();
        EXPECT_TRUE(sink.wav.Finish());
        return ReadWholeFile(wavPath);
    }

    int lastTime = 0;
};

TEST_F(FmodVirtualClock, RendersExactlyTheFramesOfTheTimeAsked) {
    std::string wav = Capture(WriteModule(XmSong{}, "song.xm"), 36, "length.wav");

    EXPECT_EQ(lastTime, 1500);
    constexpr uint32_t kDataBytes = 66150 * 4;  // 1.5 s at 44100 Hz: no half frame lost in a step
    ASSERT_EQ(wav.size(), kWavHeaderBytes + kDataBytes);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    EXPECT_EQ(LittleEndianAt(wav, 4, 4), 36 + kDataBytes);
    EXPECT_EQ(wav.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(LittleEndianAt(wav, 24, 4), 44100u);
    EXPECT_EQ(wav.substr(36, 4), "data");
    EXPECT_EQ(LittleEndianAt(wav, 40, 4), kDataBytes);
}

// Rendered in steps of 1837.5 frames through a 1024-frame buffer, the sound is
// what libxmp gives in one piece: no gap, no repeat, the same every run.
TEST_F(FmodVirtualClock, RendersTheSameSamplesEveryRunAsLibxmpDoes) {
    XmSong song;
    song.rows = 4;  // loops within the capture
    std::string module = BuildXm(song);
    std::string path = TestFilePath("song.xm");
    WriteWholeFile(path, module);

    std::string first = Capture(path, 36, "first.wav");
    std::string second = Capture(path, 36, "second.wav");
    std::string samples = first.substr(kWavHeaderBytes);
    EXPECT_EQ(first, second);
    EXPECT_TRUE(samples == RenderDirectly(module, 66150)) << "the rendered samples differ from libxmp's";
    EXPECT_NE(samples.find_first_not_of('\0'), std::string::npos) << "silence";
}

TEST_F(FmodVirtualClock, TimeMovesOnlyWithTheClockAndOpensNoDevice) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    testing::internal::CaptureStderr();
    FmodUseVirtualClock(nullptr, 1000);
    EXPECT_EQ(FSOUND_Init(kRate, 32, 0), 1);
    FMUSIC_MODULE* song = FMUSIC_LoadSong(WriteModule(XmSong{}, "song.xm").c_str());
    FMUSIC_PlaySong(song);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(FMUSIC_GetTime(song), 0);

    FmodAdvanceVirtualClock(7);
    EXPECT_EQ(FMUSIC_GetTime(song), 7);
    FmodAdvanceVirtualClock(2000);
    EXPECT_EQ(FMUSIC_GetTime(song), 2007);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(FmodVirtualClock, TheEmptyHandleRendersSilenceOfTheSameLength) {
    std::string wav = Capture(TestFilePath("no-such.xm"), 12, "silence.wav");

    EXPECT_EQ(lastTime, 500);
    ASSERT_EQ(wav.size(), kWavHeaderBytes + 22050u * 4);
    EXPECT_EQ(wav.find_first_not_of('\0', kWavHeaderBytes), std::string::npos);
}

}  // namespace
