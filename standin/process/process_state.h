// What every stand-in may need to know of the process around the program:
// whether it has been asked to end, and whether it has a screen to show on.
// The ground floor: it needs no other stand-in.
#pragma once

namespace standin {

// Makes SIGINT, SIGTERM and SIGHUP a quit that the message queue delivers,
// and SIGPIPE and SIGXFSZ a failed write; keeps the program's name for the
// messages below. Touches no display.
void CatchInterrupts(const char* programName);

// True once for each SIGINT, SIGTERM or SIGHUP taken since the last call.
bool TakeInterrupt();

// Asks the program to quit as an interrupt would: a capture that is done.
void RequestQuit();

// The signal (SIGINT, SIGTERM or SIGHUP) that asked the process to end, or 0
// when none has: a quit the program chose is not an interruption.
int InterruptingSignal();

// True while a signal has come that the message queue has not yet taken:
// a long wait outside the main loop (an encoder, a muxer) ends on it.
bool InterruptPending();

// Called when the window system starts: a program started through its entry
// that has no screen a person sees says so on stderr and ends with exit code
// 2. Asking for a headless video driver by name is running unseen on purpose.
void RequireScreen(bool hasScreen);

}  // namespace standin
