#include "standin/capture/capture_session.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "standin/capture/frame_image.h"
#include "standin/capture/input_script.h"
#include "standin/capture/png_folder.h"
#include "standin/capture/video_sink.h"
#include "standin/entry/process_start.h"
#include "standin/fmod/fmod_host.h"
#include "standin/host/host_capture.h"
#include "standin/kernel32/tick_clock.h"
#include "standin/wav/wav_writer.h"

namespace standin {
namespace {

using Clock = std::chrono::steady_clock;

class CaptureSession : public HostCapture {
public:
    CaptureSession(const CaptureSettings& settings, std::unique_ptr<FrameSink> sink, std::string audioPath,
                   std::vector<ScriptedInput> script)
        : settings(settings), sink(std::move(sink)), audioPath(audioPath), wav(audioPath), script(std::move(script)) {
        int32_t end = settings.durationMilliseconds > 0 ? settings.startMilliseconds + settings.durationMilliseconds
                      : settings.startMilliseconds >= kDefaultCaptureEnd - 10000 ? settings.startMilliseconds + 10000
                                                                                 : kDefaultCaptureEnd;
        if (!settings.atMilliseconds.empty() && settings.durationMilliseconds <= 0)
            end = *std::max_element(settings.atMilliseconds.begin(), settings.atMilliseconds.end()) + 1;
        spanMilliseconds = end - settings.startMilliseconds;
        frameCount = (int64_t{spanMilliseconds} * settings.framesPerSecond + 999) / 1000;
        wanted = settings.atMilliseconds;
        std::sort(wanted.begin(), wanted.end());
        terminal = isatty(STDERR_FILENO) != 0;
        began = Clock::now();
    }

    AudioSink* Audio() { return &wav; }

    // Frame n is presented at round(n x 1000 / fps) ms after the start.
    int32_t FrameTime(int64_t frame) const {
        return static_cast<int32_t>((frame * 2000 / settings.framesPerSecond + 1) / 2);
    }

    int32_t Now() const { return settings.startMilliseconds + FrameTime(framesPresented); }

    void Present(HostWindow*, const void* pixels, int32_t pitch, HostPixelFormat format, int32_t width,
                 int32_t height) override {
        if (done) return;
        int32_t demoTime = Now();
        bool converted = false;
        auto write = [&](int32_t label) {
            if (!converted) {
                rgb.resize(static_cast<size_t>(width) * height * 3);
                ConvertToRgb(pixels, pitch, format, width, height, rgb.data());
                converted = true;
            }
            if (!sink->Write(rgb.data(), width, height, framesPresented, label)) Fail();
            ++framesWritten;
        };
        // A chosen time between two frames is served by the first frame at
        // or after it, named after the time asked for.
        if (wanted.empty()) write(demoTime);
        while (nextWanted < wanted.size() && wanted[nextWanted] <= demoTime) write(wanted[nextWanted++]);
        ++framesPresented;
        int32_t step = FrameTime(framesPresented) - FrameTime(framesPresented - 1);
        FmodAdvanceVirtualClock(step);
        AdvanceVirtualTickCount(static_cast<uint32_t>(step));
        ShowProgress(false);
        if (framesPresented >= frameCount) Stop();
    }

    bool PollEvent(HostEvent& event) override {
        if (pendingKeyUp != 0) {
            event = HostEvent{};
            event.kind = HostEventKind::KeyUp;
            event.virtualKey = pendingKeyUp;
            pendingKeyUp = 0;
            return true;
        }
        if (nextInput >= script.size() || script[nextInput].timeMilliseconds > Now()) return false;
        const ScriptedInput& input = script[nextInput++];
        event = HostEvent{};
        event.x = input.x;
        event.y = input.y;
        switch (input.kind) {
            case ScriptedInputKind::Move:
                event.kind = HostEventKind::MouseMove;
                break;
            case ScriptedInputKind::Down:
                event.kind = HostEventKind::ButtonDown;
                break;
            case ScriptedInputKind::Up:
                event.kind = HostEventKind::ButtonUp;
                break;
            case ScriptedInputKind::Key:
                event.kind = HostEventKind::KeyDown;
                event.virtualKey = input.virtualKey;
                pendingKeyUp = input.virtualKey;
                break;
        }
        return true;
    }

    bool Finish() {
        if (finished) return result;
        finished = true;
        Stop();
        FmodUseRealClock();  // the music stops before its file is closed
        bool audioWritten = wav.Finish();
        result = !failed && audioWritten && sink->Finish(audioPath.c_str());
        // A video carries the music in itself; a folder keeps it beside the frames.
        if (IsVideoPath(settings.output)) std::filesystem::remove(audioPath);
        ShowProgress(true);
        return result;
    }

private:
    void Stop() {
        if (done) return;
        done = true;
        RequestQuit();
    }

    void Fail() {
        failed = true;
        Stop();
    }

    void ShowProgress(bool last) {
        auto now = Clock::now();
        if (!last && (!terminal || now - lastShown < std::chrono::milliseconds(250))) return;
        lastShown = now;
        double seconds = std::chrono::duration<double>(now - began).count();
        double rate = seconds > 0 ? framesPresented / seconds : 0;
        if (last) {
            std::fprintf(stderr,
                         "%scapture: %lld frames (%lld written, %.1f s of the show at %d fps) to %s in %.1f s, %.0f "
                         "frames a second%s\n",
                         terminal ? "\r\033[K" : "", static_cast<long long>(framesPresented),
                         static_cast<long long>(framesWritten), FrameTime(framesPresented) / 1000.0,
                         settings.framesPerSecond, settings.output.c_str(), seconds, rate,
                         result ? "" : ", INCOMPLETE");
            return;
        }
        constexpr int kBarWidth = 30;
        int filled = static_cast<int>(kBarWidth * framesPresented / std::max<int64_t>(frameCount, 1));
        double left = rate > 0 ? (frameCount - framesPresented) / rate : 0;
        std::fprintf(stderr, "\r\033[Kcapture [%.*s%*s] %lld/%lld frames, %.1f s, %.0f fps, %.0f s left", filled,
                     "##############################", kBarWidth - filled, "", static_cast<long long>(framesPresented),
                     static_cast<long long>(frameCount),
                     (settings.startMilliseconds + FrameTime(framesPresented)) / 1000.0, rate, left);
    }

    CaptureSettings settings;
    std::unique_ptr<FrameSink> sink;
    std::string audioPath;
    WavWriter wav;
    std::vector<ScriptedInput> script;
    size_t nextInput = 0;
    uint32_t pendingKeyUp = 0;
    std::vector<int32_t> wanted;
    size_t nextWanted = 0;
    std::vector<uint8_t> rgb;
    int32_t spanMilliseconds = 0;
    int64_t frameCount = 0;
    int64_t framesPresented = 0;
    int64_t framesWritten = 0;
    bool terminal = false;
    bool done = false;
    bool failed = false;
    bool finished = false;
    bool result = false;
    Clock::time_point began;
    Clock::time_point lastShown;
};

CaptureSession* session = nullptr;

void FinishAtExit() { FinishCapture(); }

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
        audioPath = settings.output + ".part.wav";
    } else {
        std::error_code failure;
        std::filesystem::create_directories(settings.output, failure);
        if (failure) {
            std::fprintf(stderr, "capture: cannot make the folder %s (%s)\n", settings.output.c_str(),
                         failure.message().c_str());
            return false;
        }
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

bool FinishCapture() { return session == nullptr || session->Finish(); }

bool PrepareCapture(int& argc, char** argv) {
    CaptureSettings settings;
    std::string error;
    if (!TakeCaptureOptions(argc, argv, settings, error)) {
        std::fprintf(stderr, "%s: %s (try --help)\n", argc > 0 ? argv[0] : "duckdemo", error.c_str());
        return false;
    }
    return StartCapture(settings);
}

int FinishProcess(int exitCode, int argc, char** argv) {
    for (int i = 1; i < argc && exitCode == 0; ++i) {
        std::string word = argv[i];
        if (word == "--help" || word == "-h") {
            std::fputs(kCaptureUsage, stdout);
            break;
        }
    }
    return FinishCapture() ? exitCode : 2;
}

}  // namespace standin
