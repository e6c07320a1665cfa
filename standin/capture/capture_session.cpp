#include "standin/capture/capture_session.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "formats/wav_writer.h"
#include "standin/capture/capture_progress.h"
#include "standin/capture/frame_clock.h"
#include "standin/capture/input_script.h"
#include "standin/capture/output_check.h"
#include "standin/capture/png_folder.h"
#include "standin/capture/script_playback.h"
#include "standin/capture/video_sink.h"
#include "standin/fmod/fmod_host.h"
#include "standin/host/frame_image.h"
#include "standin/host/host_capture.h"
#include "standin/kernel32/tick_clock.h"
#include "standin/process/process_state.h"

namespace standin {
namespace {

// The music's file, made with its folder when the first song starts, as
// the frames make theirs: nothing is made before the program runs.
class MusicFile : public AudioSink {
public:
    explicit MusicFile(const std::string& path) : wav(path), folder(std::filesystem::path(path).parent_path()) {}

    void Start(int sampleRate) override {
        std::error_code ignored;
        if (!folder.empty()) std::filesystem::create_directories(folder, ignored);
        wav.Start(sampleRate);
    }
    void Write(const int16_t* frames, int frameCount) override { wav.Write(frames, frameCount); }
    bool Finish() { return wav.Finish(); }

private:
    WavWriter wav;
    std::filesystem::path folder;
};

class CaptureSession : public HostCapture {
public:
    CaptureSession(const CaptureSettings& settings, std::unique_ptr<FrameSink> sink, std::string audioPath,
                   std::vector<ScriptedInput> script)
        : settings(settings),
          sink(std::move(sink)),
          audioPath(audioPath),
          wav(audioPath),
          playback(std::move(script)),
          clock(settings),
          progress(this->settings, clock.End()) {}

    AudioSink* Audio() { return &wav; }

    void Present(HostWindow*, const void* pixels, int32_t pitch, HostPixelFormat format, int32_t width,
                 int32_t height) override {
        if (done) return;
        bool chosen = clock.Presented();
        if (clock.WritesEveryFrame() || chosen) Write(pixels, pitch, format, width, height);
        ++framesPresented;
        int32_t step = clock.Advance();
        FmodAdvanceVirtualClock(step);
        AdvanceVirtualTickCount(static_cast<uint32_t>(step));
        progress.Show(clock.Now(), framesPresented);
        if (clock.Finished()) Stop();
    }

    bool PollEvent(HostEvent& event) override { return playback.Next(clock.Now(), done, event); }

    // Before the program showed a single frame (it only answered --help, or
    // refused its command line) there is nothing to write and nothing to say.
    bool NothingPresented() const { return framesPresented == 0; }

    bool Finish() {
        if (finished) return result;
        finished = true;
        bool reachedTheEnd = done;
        Stop();
        FmodUseRealClock();  // the music stops before its file is closed
        bool audioWritten = wav.Finish();
        if (failed || !audioWritten) {
            if (!audioWritten && IsVideoPath(settings.output))
                std::fprintf(stderr, "error: the video \"%s\" is not written: its sound could not be rendered\n",
                             settings.output.c_str());
            sink->Abandon();
        } else {
            if (IsVideoPath(settings.output))
                std::fprintf(stderr, "capture: finishing %s with its sound...\n", settings.output.c_str());
            result = sink->Finish(audioPath.c_str());
        }
        // A video carries the music in itself; a folder keeps it beside the frames.
        if (IsVideoPath(settings.output)) std::filesystem::remove(audioPath);
        cutShort = InterruptingSignal() != 0 && (!reachedTheEnd || !result);
        progress.Summary(clock.Now(), framesPresented, framesWritten, result, cutShort ? InterruptingSignal() : 0);
        return result;
    }

    // Abandons a capture the program ended before it began.
    void Discard() {
        if (finished) return;
        finished = true;
        Stop();
        FmodUseRealClock();
        wav.Finish();
        sink->Abandon();
        std::filesystem::remove(audioPath);
    }

    bool CutShort() const { return cutShort; }

private:
    void Write(const void* pixels, int32_t pitch, HostPixelFormat format, int32_t width, int32_t height) {
        rgb.resize(static_cast<size_t>(width) * height * 3);
        ConvertToRgb(pixels, pitch, format, width, height, rgb.data());
        if (sink->Write(rgb.data(), width, height, framesPresented, clock.Now()))
            ++framesWritten;
        else
            Fail();
    }

    void Stop() {
        if (done) return;
        done = true;
        RequestQuit();
    }

    void Fail() {
        failed = true;
        Stop();
    }

    CaptureSettings settings;
    std::unique_ptr<FrameSink> sink;
    std::string audioPath;
    MusicFile wav;
    ScriptPlayback playback;
    FrameClock clock;
    CaptureProgress progress;
    std::vector<uint8_t> rgb;
    int64_t framesPresented = 0;
    int64_t framesWritten = 0;
    bool done = false;
    bool failed = false;
    bool finished = false;
    bool result = false;
    bool cutShort = false;
};

CaptureSession* session = nullptr;

// A program that ends through exit() still completes its output: the
// session finishes once, and EndCapture then reads the same result.
void FinishAtExit() {
    if (session != nullptr) session->Finish();
}

}  // namespace

bool StartCapture(const CaptureSettings& settings) {
    FmodStartSongsAt(settings.startMilliseconds);
    if (!settings.Capturing()) return true;

    std::vector<ScriptedInput> script;
    std::string error;
    if (!settings.inputPath.empty() && !ReadInputScript(settings.inputPath, script, error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    if (!CheckOutput(settings)) return false;

    std::unique_ptr<FrameSink> sink;
    std::string audioPath;
    if (IsVideoPath(settings.output)) {
        std::string ffmpeg;
        if (!FindFfmpeg(ffmpeg)) {
            std::fprintf(stderr,
                         "capture: a video needs ffmpeg, and there is none on the PATH; capture to a folder instead, "
                         "e.g. --capture %s\n",
                         std::filesystem::path(settings.output).replace_extension().string().c_str());
            return false;
        }
        sink = std::make_unique<VideoSink>(settings.output, ffmpeg, settings.framesPerSecond);
        audioPath = PartPathOf(settings.output) + ".wav";
    } else {
        sink = std::make_unique<PngFolderSink>(settings.output, !settings.atMilliseconds.empty());
        audioPath = settings.output + "/audio.wav";
    }

    session = new CaptureSession(settings, std::move(sink), audioPath, std::move(script));
    FmodUseVirtualClock(session->Audio(), 1000);
    UseVirtualTickCount(static_cast<uint32_t>(settings.startMilliseconds));
    HostCaptureTo(session);
    std::atexit(FinishAtExit);
    return true;
}

int EndCapture(int exitCode) {
    if (session == nullptr) return exitCode;
    // Help, version, a refused word or a cancelled setup box: the program
    // has said what it had to, and no frame was ever shown.
    if (session->NothingPresented() && exitCode != 1) {
        session->Discard();
        return exitCode;
    }
    bool complete = session->Finish();
    if (session->CutShort()) return kCaptureCutShort;
    return complete ? exitCode : 2;
}

}  // namespace standin
