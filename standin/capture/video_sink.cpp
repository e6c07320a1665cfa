#include "standin/capture/video_sink.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <sys/stat.h>
#include <sys/wait.h>
#include <utility>
#include <vector>

#include "standin/process/process_state.h"

namespace standin {

namespace {

constexpr size_t kLogTailBytes = 600;

std::string LowerExtension(const std::string& path) {
    size_t dot = path.find_last_of("./");
    if (dot == std::string::npos || path[dot] != '.') return {};
    std::string extension = path.substr(dot + 1);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

bool IsWebm(const std::string& path) { return LowerExtension(path) == "webm"; }

const char* ContainerOf(const std::string& path) {
    std::string extension = LowerExtension(path);
    if (extension == "mp4") return "mp4";
    if (extension == "webm") return "webm";
    return "matroska";
}

std::string DescribeEnd(int status) {
    if (status < 0) return std::string("cannot wait for ffmpeg: ") + std::strerror(errno);
    if (WIFEXITED(status)) return "ffmpeg ended with status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return "ffmpeg was killed by signal " + std::to_string(WTERMSIG(status));
    return "ffmpeg ended";
}

// Says only what went wrong, overwrites, and never reads the terminal.
std::vector<std::string> QuietFfmpeg(const std::string& ffmpegPath) {
    return {ffmpegPath, "-nostdin", "-hide_banner", "-loglevel", "error", "-y"};
}

bool EndedWell(int status) { return WIFEXITED(status) && WEXITSTATUS(status) == 0; }

// The last lines ffmpeg wrote, on one line; empty when it said nothing.
std::string LogTail(const std::string& logPath) {
    FILE* file = std::fopen(logPath.c_str(), "rb");
    if (file == nullptr) return {};
    std::string text;
    char buffer[4096];
    for (size_t count; (count = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        text.append(buffer, count);
        if (text.size() > 2 * kLogTailBytes) text.erase(0, text.size() - kLogTailBytes);
    }
    std::fclose(file);
    if (text.size() > kLogTailBytes) {
        text.erase(0, text.size() - kLogTailBytes);
        size_t lineStart = text.find('\n');
        if (lineStart != std::string::npos) text.erase(0, lineStart + 1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.pop_back();
    for (char& c : text) {
        if (c == '\n' || c == '\r') c = ' ';
    }
    return text;
}

// Starts program with stdin from stdinFd (or /dev/null when it is -1) and
// both outputs to logFd. ffmpeg gets a process group of its own, so the
// user's Ctrl+C in the terminal reaches only us and we can still finish the
// video; signals we ignore or block are back to their defaults for it.
pid_t Spawn(const std::string& program, const std::vector<std::string>& arguments, int stdinFd, int logFd,
            std::string& error) {
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdinFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, stdinFd, STDIN_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    }
    posix_spawn_file_actions_adddup2(&actions, logFd, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, logFd, STDERR_FILENO);

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal : {SIGPIPE, SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&defaults, signal);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    sigset_t noneBlocked;
    sigemptyset(&noneBlocked);
    posix_spawnattr_setsigmask(&attributes, &noneBlocked);

    pid_t child = -1;
    int result = posix_spawn(&child, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0) {
        error = "cannot run " + program + ": " + std::strerror(result);
        return -1;
    }
    return child;
}

// Waits for child to end and returns its status, or -1 when it cannot be
// waited for. A signal that comes meanwhile (a second Ctrl+C while the video
// is finished) ends the child at once: the person wants to stop, not wait.
int WaitFor(pid_t child, bool& interrupted) {
    interrupted = false;
    int status = 0;
    for (;;) {
        pid_t ended = waitpid(child, &status, WNOHANG);
        if (ended == child) return status;
        if (ended < 0 && errno != EINTR) return -1;
        if (!interrupted && InterruptPending()) {
            interrupted = true;
            kill(child, SIGKILL);
        }
        timespec pause{0, 10 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
}

// How long an encoder may take no bytes once a signal has asked us to end
// before it counts as stopped.
constexpr int kStalledMilliseconds = 2000;

// Writes all of bytes, through interruptions and partial writes. SIGPIPE is
// blocked in this thread meanwhile, so a dead reader is an EPIPE here rather
// than the end of our program; a SIGPIPE that write raised is taken back. A
// reader that takes nothing for a while after a signal came is given up on
// (EINTR), so an encoder that stopped reading cannot hold the program.
bool WriteAll(int fd, const uint8_t* bytes, size_t count, int& error) {
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    sigset_t previousMask;
    pthread_sigmask(SIG_BLOCK, &pipeSignal, &previousMask);
    sigset_t pending;
    sigpending(&pending);
    bool wasPending = sigismember(&pending, SIGPIPE) == 1;

    error = 0;
    int stalled = 0;
    while (count > 0) {
        pollfd ready{fd, POLLOUT, 0};
        int polled = poll(&ready, 1, 100);
        if (polled == 0 || (polled < 0 && errno == EINTR)) {
            stalled = InterruptPending() ? stalled + 100 : 0;
            if (stalled < kStalledMilliseconds) continue;
            error = EINTR;
            break;
        }
        ssize_t written = write(fd, bytes, count);
        if (written < 0) {
            if (errno == EINTR || errno == EAGAIN) continue;
            error = errno;
            break;
        }
        stalled = 0;
        bytes += written;
        count -= static_cast<size_t>(written);
    }

    if (error == EPIPE && !wasPending) {
        timespec noWait{};
        while (sigtimedwait(&pipeSignal, nullptr, &noWait) < 0 && errno == EINTR) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
    return error == 0;
}

// Makes the folder a file is to go in, as a PNG capture makes its own.
bool MakeParentFolder(const std::string& path, std::string& error) {
    std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (parent.empty()) return true;
    std::error_code failure;
    std::filesystem::create_directories(parent, failure);
    if (failure) error = "cannot make the folder " + parent.string() + ": " + failure.message();
    return !failure;
}

}  // namespace

bool FindFfmpeg(std::string& path) {
    const char* folders = std::getenv("PATH");
    if (folders == nullptr) return false;
    std::string_view rest = folders;
    while (!rest.empty()) {
        size_t colon = rest.find(':');
        std::string_view folder = rest.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view{} : rest.substr(colon + 1);
        // An empty entry means the current folder; a capture never looks there.
        if (folder.empty()) continue;
        std::string candidate = std::string(folder) + "/ffmpeg";
        struct stat info {};
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0) {
            path = std::move(candidate);
            return true;
        }
    }
    return false;
}

std::string PartPathOf(const std::string& out) { return out + "." + std::to_string(getpid()) + ".part"; }

bool IsVideoPath(const std::string& out) {
    std::string extension = LowerExtension(out);
    return extension == "mp4" || extension == "mkv" || extension == "webm";
}

VideoSink::VideoSink(std::string outPath, std::string ffmpegPath, int32_t fps)
    : outPath(std::move(outPath)), ffmpegPath(std::move(ffmpegPath)), fps(fps > 0 ? fps : 1) {
    // Named after this process too: two captures to one name each finish
    // their own file, and the last to finish is the one left.
    std::string stem = PartPathOf(this->outPath);
    videoPath = stem + ".nut";
    muxPath = stem;
    logPath = stem + ".log";
}

VideoSink::~VideoSink() { Abandon(); }

void VideoSink::Abandon() {
    if (finished) return;
    finished = true;
    abandoned = true;
    StopEncoder();
    RemoveLeftovers();
}

bool VideoSink::Write(const uint8_t* rgb, int32_t width, int32_t height, int64_t /*index*/,
                      int32_t /*demoMilliseconds*/) {
    if (failed || finished) return false;
    if (rgb == nullptr || width <= 0 || height <= 0) {
        Fail("a frame without pixels");
        return false;
    }
    if (encoder < 0) {
        if (!StartEncoder(width, height)) return false;
    } else if (width != frameWidth || height != frameHeight) {
        Fail("a frame of " + std::to_string(width) + "x" + std::to_string(height) + " after frames of " +
             std::to_string(frameWidth) + "x" + std::to_string(frameHeight));
        return false;
    }

    int error = 0;
    if (!WriteAll(pipeFd, rgb, static_cast<size_t>(width) * static_cast<size_t>(height) * 3, error)) {
        if (error == EINTR) {
            Fail("ffmpeg stopped taking frames, and a signal asked to end");
            return false;
        }
        if (error != EPIPE) {
            Fail(std::string("cannot hand ffmpeg a frame: ") + std::strerror(error));
            return false;
        }
        int status = 0;
        StopEncoder(&status);
        std::string said = LogTail(logPath);
        Fail(DescribeEnd(status) + " after " + std::to_string(framesWritten) + " frames" +
             (said.empty() ? std::string() : ": " + said));
        return false;
    }
    ++framesWritten;
    return true;
}

bool VideoSink::Finish(const char* audioPath) {
    if (finished) return false;
    finished = true;
    if (encoder < 0 && !failed) {
        Fail("no frame was captured, so there is no video to write");
        return false;
    }
    if (!failed) {
        int status = 0;
        if (!StopEncoder(&status)) {
            std::string said = LogTail(logPath);
            Fail(DescribeEnd(status) + " while encoding" + (said.empty() ? std::string() : ": " + said));
        } else {
            Mux(audioPath);
        }
    }
    StopEncoder();
    RemoveLeftovers();
    // A video of that name from before stays unless this one is complete.
    return !failed;
}

bool VideoSink::StartEncoder(int32_t width, int32_t height) {
    std::string folderError;
    if (!MakeParentFolder(outPath, folderError)) {
        Fail(folderError);
        return false;
    }
    int logFd = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (logFd < 0) {
        Fail("cannot create " + logPath + ": " + std::strerror(errno));
        return false;
    }
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) {
        Fail(std::string("cannot make a pipe: ") + std::strerror(errno));
        close(logFd);
        return false;
    }

    std::vector<std::string> arguments = QuietFfmpeg(ffmpegPath);
    std::string size = std::to_string(width) + "x" + std::to_string(height);
    arguments.insert(arguments.end(), {"-f", "rawvideo", "-pix_fmt", "rgb24", "-s", size, "-r", std::to_string(fps),
                                       "-i", "pipe:0", "-an"});
    // 4:2:0 chroma needs an even size; an odd one gains a black row or column.
    if (width % 2 != 0 || height % 2 != 0) {
        arguments.insert(arguments.end(), {"-vf", "pad=ceil(iw/2)*2:ceil(ih/2)*2"});
    }
    if (IsWebm(outPath)) {
        arguments.insert(arguments.end(), {"-c:v", "libvpx-vp9", "-deadline", "realtime", "-cpu-used", "6", "-row-mt",
                                           "1", "-b:v", "0", "-crf", "30"});
    } else {
        // Pixel art: flat areas and hard edges, which a low crf keeps sharp
        // at little cost.
        arguments.insert(arguments.end(),
                         {"-c:v", "libx264", "-preset", "veryfast", "-tune", "animation", "-crf", "18"});
    }
    arguments.insert(arguments.end(), {"-pix_fmt", "yuv420p", "-f", "nut", videoPath});

    std::string error;
    encoder = Spawn(ffmpegPath, arguments, ends[0], logFd, error);
    close(ends[0]);
    close(logFd);
    if (encoder < 0) {
        close(ends[1]);
        Fail(error);
        return false;
    }
    pipeFd = ends[1];
    frameWidth = width;
    frameHeight = height;
    return true;
}

bool VideoSink::StopEncoder(int* status) {
    if (pipeFd >= 0) {
        close(pipeFd);
        pipeFd = -1;
    }
    if (encoder < 0) return false;
    // A video given up on has nothing left to encode: an encoder that stopped
    // taking frames would otherwise be waited for forever.
    if (failed || abandoned) kill(encoder, SIGKILL);
    bool interrupted = false;
    int ended = WaitFor(encoder, interrupted);
    encoder = -1;
    if (status != nullptr) *status = ended;
    if (interrupted) Fail("a signal asked to end while ffmpeg finished encoding");
    return !interrupted && ended >= 0 && EndedWell(ended);
}

bool VideoSink::Mux(const char* audioPath) {
    bool withAudio = audioPath != nullptr && audioPath[0] != '\0';
    if (withAudio && access(audioPath, R_OK) != 0) {
        std::fprintf(stderr, "warning: the video \"%s\" has no sound: cannot read %s: %s\n", outPath.c_str(), audioPath,
                     std::strerror(errno));
        withAudio = false;
    }

    std::vector<std::string> arguments = QuietFfmpeg(ffmpegPath);
    arguments.insert(arguments.end(), {"-i", videoPath});
    if (withAudio) arguments.insert(arguments.end(), {"-i", audioPath});
    arguments.insert(arguments.end(), {"-map", "0:v:0", "-c:v", "copy"});
    if (withAudio) {
        arguments.insert(arguments.end(), {"-map", "1:a:0"});
        if (IsWebm(outPath)) {
            arguments.insert(arguments.end(), {"-c:a", "libopus", "-b:a", "160k"});
        } else {
            arguments.insert(arguments.end(), {"-c:a", "aac", "-b:a", "192k"});
        }
    }
    const char* container = ContainerOf(outPath);
    if (std::strcmp(container, "mp4") == 0) arguments.insert(arguments.end(), {"-movflags", "+faststart"});
    arguments.insert(arguments.end(), {"-f", container, muxPath});

    int logFd = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (logFd < 0) {
        Fail("cannot create " + logPath + ": " + std::strerror(errno));
        return false;
    }
    std::string error;
    pid_t muxer = Spawn(ffmpegPath, arguments, -1, logFd, error);
    close(logFd);
    if (muxer < 0) {
        Fail(error);
        return false;
    }
    bool interrupted = false;
    int status = WaitFor(muxer, interrupted);
    if (interrupted) {
        Fail(std::string("a signal asked to end while the ") + container + " file was written");
        return false;
    }
    if (status < 0 || !EndedWell(status)) {
        std::string said = LogTail(logPath);
        Fail(DescribeEnd(status) + " while writing the " + container + " file" +
             (said.empty() ? std::string() : ": " + said));
        return false;
    }
    if (rename(muxPath.c_str(), outPath.c_str()) != 0) {
        Fail("cannot move " + muxPath + " to " + outPath + ": " + std::strerror(errno));
        return false;
    }
    return true;
}

void VideoSink::Fail(const std::string& reason) {
    if (failed) return;
    failed = true;
    std::fprintf(stderr, "error: the video \"%s\" failed: %s\n", outPath.c_str(), reason.c_str());
}

void VideoSink::RemoveLeftovers() {
    for (const std::string* path : {&videoPath, &muxPath, &logPath}) unlink(path->c_str());
}

}  // namespace standin
