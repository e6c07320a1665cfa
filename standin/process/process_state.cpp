#include "standin/process/process_state.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

namespace standin {
namespace {

const char* programName = nullptr;  // set once the process came through a program's entry
volatile sig_atomic_t interruptPending = 0;
volatile sig_atomic_t interruptingSignal = 0;
// Apart from the signals, so a signal that comes while a finished capture's
// quit waits to be taken is a first interrupt, not a second.
volatile sig_atomic_t quitRequested = 0;

// A second interrupt before the first was taken means the program is not
// listening: the signal then ends it as it would any other program.
void OnInterrupt(int signalNumber) {
    if (interruptPending != 0) {
        signal(signalNumber, SIG_DFL);
        raise(signalNumber);
        return;
    }
    interruptPending = 1;
    interruptingSignal = signalNumber;
}

void InstallHandlers() {
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // A closed terminal asks the program to end as SIGTERM does.
    sigaction(SIGHUP, &action, nullptr);
    // A reader of stderr that has gone must not end the program mid-line:
    // the write fails and the program goes on.
    signal(SIGPIPE, SIG_IGN);
    // Nor must a file size limit reached by the log or a capture: the write
    // fails and the program says so.
    signal(SIGXFSZ, SIG_IGN);
}

// Standard input, output and error closed at start would be the first free
// descriptors, and the next file or display connection opened would take one
// of them, to be written into by any warning. They are held on /dev/null.
__attribute__((constructor)) void HoldStandardDescriptors() {
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (fcntl(descriptor, F_GETFD) != -1) continue;
        int opened = open("/dev/null", O_RDWR);
        if (opened != -1 && opened != descriptor) {
            dup2(opened, descriptor);
            close(opened);
        }
    }
}

}  // namespace

void CatchInterrupts(const char* name) {
    programName = name;
    InstallHandlers();
}

void RequestQuit() { quitRequested = 1; }

int InterruptingSignal() { return interruptingSignal; }

bool InterruptPending() { return interruptPending != 0; }

bool TakeInterrupt() {
    if (interruptPending == 0 && quitRequested == 0) return false;
    interruptPending = 0;
    quitRequested = 0;
    return true;
}

void RequireScreen(bool hasScreen) {
    if (hasScreen || programName == nullptr || std::getenv("SDL_VIDEODRIVER") != nullptr) return;
    const char* display = std::getenv("DISPLAY");
    if (display != nullptr && display[0] != '\0')
        std::fprintf(stderr, "%s: cannot open the display \"%s\" to show the picture on.\n", programName, display);
    else
        std::fprintf(stderr,
                     "%s: no display to show the picture on. Run it in a desktop session, set DISPLAY, or set "
                     "SDL_VIDEODRIVER=offscreen to run it unseen.\n",
                     programName);
    std::exit(2);
}

}  // namespace standin
