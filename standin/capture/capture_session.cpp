#include "standin/capture/capture_session.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "formats/wav_writer.h"
#include "standin/capture/input_script.h"
#include "standin/capture/png_folder.h"
#include "standin/capture/video_sink.h"
#include "standin/entry/process_start.h"
#include "standin/fmod/fmod_host.h"
#include "standin/host/frame_image.h"
#include "standin/host/host_capture.h"
#include "standin/kernel32/tick_clock.h"

namespace standin {
namespace {

using Clock = std::chrono::steady_clock;

const char* SignalName(int signalNumber) {
    switch (signalNumber) {
        case SIGINT:
            return "SIGINT";
        case SIGTERM:
            return "SIGTERM";
        case SIGHUP:
            return "SIGHUP";
        default:
            return "a signal";
    }
}

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
        : settings(settings), sink(std::move(sink)), audioPath(audioPath), wav(audioPath), script(std::move(script)) {
        int32_t start = settings.startMilliseconds;
        end = settings.durationMilliseconds > 0 ? start + settings.durationMilliseconds
              : start >= kIntroEnd              ? start + 10000
                                                : kDefaultCaptureEnd;
        wanted = settings.atMilliseconds;
        // Chosen times alone end with the last of them.
        if (!wanted.empty() && settings.durationMilliseconds <= 0) end = wanted.back() + 1;
        frameCount = (int64_t{end - start} * settings.framesPerSecond + 999) / 1000;
        now = start;
        terminal = isatty(STDERR_FILENO) != 0;
        began = Clock::now();
    }

    AudioSink* Audio() { return &wav; }

    // Frame n of the frame rate's grid is presented at round(n x 1000 / fps)
    // ms after the start.
    int32_t GridTime(int64_t frame) const {
        return settings.startMilliseconds + static_cast<int32_t>((frame * 2000 / settings.framesPerSecond + 1) / 2);
    }

    void Present(HostWindow*, const void* pixels, int32_t pitch, HostPixelFormat format, int32_t width,
                 int32_t height) override {
        if (done) return;
        if (now == GridTime(nextGridFrame)) ++nextGridFrame;
        bool chosen = nextWanted < wanted.size() && wanted[nextWanted] == now;
        if (chosen) ++nextWanted;
        if (wanted.empty() || chosen) Write(pixels, pitch, format, width, height);
        ++framesPresented;

        // The clock moves on along the grid, and stops on the way at each
        // chosen time, so the frame named for a time shows exactly that time.
        int32_t next = GridTime(nextGridFrame);
        if (nextWanted < wanted.size()) next = std::min(next, wanted[nextWanted]);
        int32_t step = next - now;
        now = next;
        FmodAdvanceVirtualClock(step);
        AdvanceVirtualTickCount(static_cast<uint32_t>(step));
        ShowProgress(false);
        bool chosenLeft = nextWanted < wanted.size();
        bool onlyChosen = !wanted.empty() && settings.durationMilliseconds <= 0;
        if ((nextGridFrame >= frameCount || onlyChosen) && !chosenLeft) Stop();
    }

    bool PollEvent(HostEvent& event) override {
        if (pendingKeyUp != 0) {
            event = HostEvent{};
            event.kind = HostEventKind::KeyUp;
            event.virtualKey = pendingKeyUp;
            pendingKeyUp = 0;
            return true;
        }
        // Once the capture is over the program quits; input after it would
        // only stand in the way of the quit.
        if (done || nextInput >= script.size() || script[nextInput].timeMilliseconds > now) return false;
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
        ShowProgress(true);
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
        if (sink->Write(rgb.data(), width, height, framesPresented, now))
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

    void ShowProgress(bool last) {
        auto wallNow = Clock::now();
        if (!last && (!terminal || wallNow - lastShown < std::chrono::milliseconds(250))) return;
        lastShown = wallNow;
        double seconds = std::chrono::duration<double>(wallNow - began).count();
        double rate = seconds > 0 ? framesPresented / seconds : 0;
        double shown = (now - settings.startMilliseconds) / 1000.0;
        if (last) {
            const char* ending = result ? "" : ", INCOMPLETE";
            std::fprintf(stderr,
                         "%scapture: %lld frames (%lld written, %.1f s of the show at %d fps) to %s in %.1f s, %.0f "
                         "frames a second%s\n",
                         terminal ? "\r\033[K" : "", static_cast<long long>(framesPresented),
                         static_cast<long long>(framesWritten), shown, settings.framesPerSecond,
                         settings.output.c_str(), seconds, rate, cutShort ? "" : ending);
            if (cutShort)
                std::fprintf(stderr, "capture: cut short by %s at %.3f s of the show, %.1f s before its end; %s\n",
                             SignalName(InterruptingSignal()), now / 1000.0, (end - now) / 1000.0,
                             result ? "what came before it is written" : "nothing is written");
            return;
        }
        constexpr int kBarWidth = 30;
        double span = std::max(end - settings.startMilliseconds, 1);
        int filled = std::clamp(static_cast<int>(kBarWidth * (shown * 1000 / span)), 0, kBarWidth);
        double left = shown > 0 ? seconds * (span / 1000 - shown) / shown : 0;
        std::fprintf(stderr, "\r\033[Kcapture [%.*s%*s] %lld frames, %.1f s, %.0f fps, %.0f s left", filled,
                     "##############################", kBarWidth - filled, "", static_cast<long long>(framesPresented),
                     now / 1000.0, rate, left);
    }

    CaptureSettings settings;
    std::unique_ptr<FrameSink> sink;
    std::string audioPath;
    MusicFile wav;
    std::vector<ScriptedInput> script;
    size_t nextInput = 0;
    uint32_t pendingKeyUp = 0;
    std::vector<int32_t> wanted;
    size_t nextWanted = 0;
    std::vector<uint8_t> rgb;
    int32_t end = 0;
    int32_t now = 0;
    int64_t frameCount = 0;
    int64_t nextGridFrame = 0;
    int64_t framesPresented = 0;
    int64_t framesWritten = 0;
    bool terminal = false;
    bool done = false;
    bool failed = false;
    bool finished = false;
    bool result = false;
    bool cutShort = false;
    Clock::time_point began;
    Clock::time_point lastShown;
};

CaptureSession* session = nullptr;

void FinishAtExit() { FinishCapture(); }

// The extension of the last part of a path, lower case; "" for none.
std::string ExtensionOf(const std::string& path) {
    std::string name = std::filesystem::path(path).filename().string();
    size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return {};
    std::string extension = name.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

// A file someone would expect a picture, a video or a sound in, which a
// capture does not write: taken as a folder, it would hold PNG frames.
bool IsOtherMediaExtension(const std::string& extension) {
    static const char* const kOthers[] = {"avi",  "gif",  "mov", "qt",  "wmv", "flv",  "mpg",  "mpeg",
                                          "m4v",  "ogv",  "3gp", "ts",  "png", "jpg",  "jpeg", "bmp",
                                          "webp", "apng", "wav", "mp3", "ogg", "flac", "aac"};
    for (const char* other : kOthers) {
        if (extension == other) return true;
    }
    return false;
}

// The frames and music of an earlier capture, which new ones would be mixed
// with: frame000000.png, t016800.png, audio.wav.
bool HoldsAnEarlierCapture(const std::string& folder, std::string& example) {
    std::error_code failure;
    for (const auto& entry : std::filesystem::directory_iterator(folder, failure)) {
        std::string name = entry.path().filename().string();
        bool frame = (name.rfind("frame", 0) == 0 || name.rfind("t", 0) == 0) && ExtensionOf(name) == "png";
        if (frame || name == "audio.wav") {
            example = name;
            return true;
        }
    }
    return false;
}

// Nothing is made before the program has read its whole command line: only
// check that the output can be made where it is to go.
bool CheckOutput(const CaptureSettings& settings) {
    const std::string& output = settings.output;
    std::error_code failure;
    bool isFolder = std::filesystem::is_directory(output, failure);
    std::string extension = ExtensionOf(output);
    if (!isFolder && IsOtherMediaExtension(extension)) {
        std::fprintf(stderr,
                     "capture: cannot write a .%s file; a video ends in .mp4, .mkv or .webm, and a folder of PNG "
                     "frames is named without a picture's, a video's or a sound's extension\n",
                     extension.c_str());
        return false;
    }
    std::string example;
    if (isFolder && HoldsAnEarlierCapture(output, example)) {
        std::fprintf(stderr,
                     "capture: the folder %s holds an earlier capture (%s...); new frames would be mixed with it, so "
                     "choose another folder or empty this one\n",
                     output.c_str(), example.c_str());
        return false;
    }
    // The nearest folder that is there must be one we may write in.
    std::filesystem::path existing =
        IsVideoPath(output) || !isFolder ? std::filesystem::path(output).parent_path() : std::filesystem::path(output);
    while (!existing.empty() && !std::filesystem::exists(existing, failure) && existing != existing.parent_path())
        existing = existing.parent_path();
    if (existing.empty()) existing = ".";
    if (!std::filesystem::is_directory(existing, failure) || access(existing.c_str(), W_OK | X_OK) != 0) {
        std::fprintf(stderr, "capture: cannot write %s: %s is not a folder this program may write in\n", output.c_str(),
                     existing.c_str());
        return false;
    }
    return true;
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
