#include "standin/capture/video_sink.h"

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "formats/wav_writer.h"
#include "support/test_files.h"

namespace {

using testing::HasSubstr;

constexpr int32_t kWidth = 64;
constexpr int32_t kHeight = 48;
constexpr int32_t kFps = 60;
constexpr int kFrames = 30;
constexpr int kSampleRate = 44100;

// A bar 8 pixels wide moving right 2 pixels a frame, on colours whose red and
// blue differ, so a frame out of order or a swapped channel shows.
std::vector<uint8_t> BarFrame(int index) {
    std::vector<uint8_t> rgb(static_cast<size_t>(kWidth * kHeight * 3));
    for (int32_t y = 0; y < kHeight; ++y) {
        for (int32_t x = 0; x < kWidth; ++x) {
            bool onBar = x >= 2 * index && x < 2 * index + 8;
            uint8_t* pixel = &rgb[static_cast<size_t>((y * kWidth + x) * 3)];
            pixel[0] = onBar ? 20 : 200;
            pixel[1] = onBar ? 220 : 40;
            pixel[2] = onBar ? 240 : 20;
        }
    }
    return rgb;
}

void WriteTone(const std::string& path, int frameCount) {
    WavWriter wav(path);
    wav.Start(kSampleRate);
    std::vector<int16_t> samples(static_cast<size_t>(frameCount) * 2);
    for (int i = 0; i < frameCount; ++i) {
        auto value = static_cast<int16_t>(8000 * std::sin(2 * M_PI * 440 * i / kSampleRate));
        samples[2 * static_cast<size_t>(i)] = value;
        samples[2 * static_cast<size_t>(i) + 1] = value;
    }
    wav.Write(samples.data(), frameCount);
    ASSERT_TRUE(wav.Finish());
}

std::string RunForOutput(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return output;
    char buffer[65536];
    for (size_t count; (count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, count);
    pclose(pipe);
    return output;
}

// One key=value map per stream, as ffprobe's compact output lists them.
std::vector<std::map<std::string, std::string>> ProbeStreams(const std::string& ffprobe, const std::string& path) {
    std::istringstream lines(
        RunForOutput(ffprobe +
                     " -v error -count_frames -show_entries "
                     "stream=codec_type,codec_name,width,height,nb_read_frames,duration -of compact=p=0 '" +
                     path + "'"));
    std::vector<std::map<std::string, std::string>> streams;
    for (std::string line; std::getline(lines, line);) {
        std::map<std::string, std::string>& fields = streams.emplace_back();
        std::istringstream pairs(line);
        for (std::string pair; std::getline(pairs, pair, '|');) {
            size_t equals = pair.find('=');
            if (equals != std::string::npos) fields[pair.substr(0, equals)] = pair.substr(equals + 1);
        }
    }
    return streams;
}

bool Exists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

// The files beside out whose names begin with its own: the parts a capture
// keeps while it runs ("out.mp4.1234.part.nut", "out.mp4.1234.part.log").
std::vector<std::string> PartsBeside(const std::string& out) {
    std::vector<std::string> parts;
    std::filesystem::path path(out);
    std::string prefix = path.filename().string() + ".";
    for (const auto& entry : std::filesystem::directory_iterator(path.parent_path())) {
        std::string name = entry.path().filename().string();
        if (name.rfind(prefix, 0) == 0) parts.push_back(name);
    }
    return parts;
}

TEST(VideoSink, FramesAndSoundEndUpInOneMp4ThatDecodesToTheFrames) {
    std::string ffmpeg;
    ASSERT_TRUE(standin::FindFfmpeg(ffmpeg)) << "ffmpeg is not on the PATH: scripts/install-deps.sh installs it";
    std::string ffprobe = ffmpeg.substr(0, ffmpeg.rfind('/')) + "/ffprobe";
    std::string out = TestFilePath("bar.mp4");
    std::string wav = TestFilePath("bar.wav");
    WriteTone(wav, kSampleRate * kFrames / kFps);

    {
        standin::VideoSink sink(out, ffmpeg, kFps);
        for (int i = 0; i < kFrames; ++i) {
            ASSERT_TRUE(sink.Write(BarFrame(i).data(), kWidth, kHeight, i, i * 1000 / kFps));
        }
        testing::internal::CaptureStderr();
        bool finished = sink.Finish(wav.c_str());
        std::string said = testing::internal::GetCapturedStderr();
        ASSERT_TRUE(finished) << said;
        EXPECT_EQ(said, "") << "ffmpeg's chatter stays in its log";
    }

    auto streams = ProbeStreams(ffprobe, out);
    ASSERT_EQ(streams.size(), 2u);
    std::map<std::string, std::string>& video = streams[0]["codec_type"] == "video" ? streams[0] : streams[1];
    std::map<std::string, std::string>& audio = streams[0]["codec_type"] == "video" ? streams[1] : streams[0];
    EXPECT_EQ(video["codec_name"], "h264");
    EXPECT_EQ(video["width"], "64");
    EXPECT_EQ(video["height"], "48");
    EXPECT_EQ(video["nb_read_frames"], "30");
    EXPECT_NEAR(std::atof(video["duration"].c_str()), 0.5, 0.001);
    EXPECT_EQ(audio["codec_type"], "audio");
    EXPECT_EQ(audio["codec_name"], "aac");
    // AAC counts in blocks of 1024 samples.
    EXPECT_NEAR(std::atof(audio["duration"].c_str()), 0.5, 0.025);

    // Lossy, but close to every frame in order: a wrong size, stride or
    // channel order is off by a hundred or more.
    std::string decoded = RunForOutput(ffmpeg + " -v error -i '" + out + "' -f rawvideo -pix_fmt rgb24 -");
    size_t frameBytes = static_cast<size_t>(kWidth * kHeight * 3);
    ASSERT_EQ(decoded.size(), frameBytes * kFrames);
    for (int i = 0; i < kFrames; ++i) {
        std::vector<uint8_t> expected = BarFrame(i);
        int64_t difference = 0;
        for (size_t b = 0; b < frameBytes; ++b) {
            difference += std::abs(static_cast<uint8_t>(decoded[i * frameBytes + b]) - expected[b]);
        }
        EXPECT_LT(difference / static_cast<int64_t>(frameBytes), 4) << "frame " << i;
    }

    EXPECT_THAT(PartsBeside(out), testing::IsEmpty());
}

// The video an earlier capture left is replaced only by a complete one.
TEST(VideoSink, AnEncoderThatDiesEndsTheCaptureWithWhatItSaidAndKeepsTheEarlierVideo) {
    // Exits without reading, as ffmpeg does when it cannot open its encoder;
    // the frames are bigger than a pipe holds, so the write meets a closed pipe.
    std::string fake = TestFilePath("dying_ffmpeg.sh");
    WriteWholeFile(fake, "#!/bin/sh\necho 'Unknown encoder libx264' >&2\nexit 1\n");
    ASSERT_EQ(chmod(fake.c_str(), 0755), 0);
    std::string out = TestFilePath("dying.mkv");
    WriteWholeFile(out, "the video an earlier capture left");
    std::vector<uint8_t> frame(640 * 480 * 3, 128);

    testing::internal::CaptureStderr();
    standin::VideoSink sink(out, fake, 30);
    int written = 0;
    while (written < 10 && sink.Write(frame.data(), 640, 480, written, 0)) ++written;
    bool finished = sink.Finish(nullptr);
    std::string said = testing::internal::GetCapturedStderr();

    EXPECT_LT(written, 10);
    EXPECT_FALSE(finished);
    EXPECT_THAT(said, HasSubstr("status 1"));
    EXPECT_THAT(said, HasSubstr("Unknown encoder libx264"));
    EXPECT_EQ(said.find("error:"), said.rfind("error:")) << "said once: " << said;
    EXPECT_EQ(ReadWholeFile(out), "the video an earlier capture left");
    EXPECT_THAT(PartsBeside(out), testing::IsEmpty());
}

TEST(VideoSink, WithoutAFrameWritesNothingAndSaysSo) {
    std::string out = TestFilePath("empty.mp4");
    testing::internal::CaptureStderr();
    standin::VideoSink sink(out, "/nonexistent/ffmpeg", 30);
    EXPECT_FALSE(sink.Finish(nullptr));
    EXPECT_THAT(testing::internal::GetCapturedStderr(), HasSubstr("no frame"));
    EXPECT_FALSE(Exists(out));
}

TEST(IsVideoPath, KnowsTheThreeVideoExtensionsInAnyCase) {
    for (const char* path : {"a.mp4", "out/Demo.MKV", "x.WebM"}) EXPECT_TRUE(standin::IsVideoPath(path)) << path;
    for (const char* path : {"frames", "frames.mp4/", "a.mp4.png", "mp4", "a.avi", ""}) {
        EXPECT_FALSE(standin::IsVideoPath(path)) << path;
    }
}

TEST(FindFfmpeg, TakesTheFirstExecutableFileInThePathsFolders) {
    const char* saved = std::getenv("PATH");
    std::string savedPath = saved != nullptr ? saved : "";
    std::string asFolder = TestFilePath("path_folder");
    std::string notExecutable = TestFilePath("path_plain");
    std::string executable = TestFilePath("path_executable");
    for (const std::string& folder : {asFolder, notExecutable, executable}) mkdir(folder.c_str(), 0755);
    mkdir((asFolder + "/ffmpeg").c_str(), 0755);
    WriteWholeFile(notExecutable + "/ffmpeg", "");
    WriteWholeFile(executable + "/ffmpeg", "#!/bin/sh\n");
    chmod((executable + "/ffmpeg").c_str(), 0755);

    std::string found = "untouched";
    setenv("PATH", "", 1);
    EXPECT_FALSE(standin::FindFfmpeg(found));
    unsetenv("PATH");
    EXPECT_FALSE(standin::FindFfmpeg(found));
    EXPECT_EQ(found, "untouched");
    setenv("PATH", (":" + asFolder + ":" + notExecutable + "::" + executable).c_str(), 1);
    EXPECT_TRUE(standin::FindFfmpeg(found));
    EXPECT_EQ(found, executable + "/ffmpeg");

    setenv("PATH", savedPath.c_str(), 1);
}

}  // namespace
