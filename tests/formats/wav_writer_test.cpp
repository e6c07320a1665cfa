#include "formats/wav_writer.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <string>

#include "support/test_files.h"

namespace {

TEST(WavWriter, WritesA16BitStereoPcmHeaderAndLittleEndianSamples) {
    std::string path = TestFilePath("three-frames.wav");
    WavWriter wav(path);
    wav.Start(22050);
    const int16_t frames[] = {1, -2, 0x1234, -32768, 32767, 0};
    wav.Write(frames, 3);
    EXPECT_TRUE(wav.Finish());
    EXPECT_EQ(wav.FramesWritten(), 3);

    const unsigned char expected[] = {
        'R',  'I',  'F',  'F',  48,   0,    0,    0,    'W',  'A',  'V', 'E',  // 36 + 12 bytes of samples
        'f',  'm',  't',  ' ',  16,   0,    0,    0,    1,    0,    2,   0,    // PCM, 2 channels
        0x22, 0x56, 0,    0,                                                   // 22050 Hz
        0x88, 0x58, 1,    0,                                                   // 88200 bytes a second
        4,    0,    16,   0,                                                   // 4 bytes a frame, 16 bits
        'd',  'a',  't',  'a',  12,   0,    0,    0,                           //
        1,    0,    0xFE, 0xFF, 0x34, 0x12, 0x00, 0x80, 0xFF, 0x7F, 0,   0};
    EXPECT_EQ(ReadWholeFile(path), std::string(reinterpret_cast<const char*>(expected), sizeof expected));
}

TEST(WavWriter, ASecondSongAtAnotherRateIsRefusedAndTheFileStaysValid) {
    std::string path = TestFilePath("two-rates.wav");
    WavWriter wav(path);
    wav.Start(44100);
    const int16_t frames[] = {5, 5};
    wav.Write(frames, 1);
    wav.Start(44100);
    wav.Write(frames, 1);
    EXPECT_FALSE(wav.Failed());

    testing::internal::CaptureStderr();
    wav.Start(22050);
    wav.Write(frames, 1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("two-rates.wav"), std::string::npos);
    EXPECT_FALSE(wav.Finish());
    EXPECT_EQ(wav.FramesWritten(), 2);
    EXPECT_EQ(ReadWholeFile(path).size(), 44u + 8u);
}

TEST(WavWriter, AFileThatCannotBeCreatedIsReported) {
    testing::internal::CaptureStderr();
    WavWriter wav("/no-such-folder/capture.wav");
    wav.Start(44100);
    const int16_t frames[] = {5, 5};
    wav.Write(frames, 1);
    EXPECT_TRUE(wav.Failed());
    EXPECT_FALSE(wav.Finish());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("/no-such-folder/capture.wav"), std::string::npos);
}

}  // namespace
