// What both program entries do before the program runs, and what the
// stand-ins do when the process must end from outside the program.
#pragma once

#include <string>

namespace standin {

// Reads the hardware settings, keeps argv[0] for a system that cannot name
// the running executable, and makes SIGINT, SIGTERM and SIGHUP a quit that
// the message queue delivers; SIGPIPE is ignored. Touches no display: the program may only be asked
// for its help or version. False, after saying why on stderr, for settings
// it does not understand.
bool PrepareProcess(int argc, char** argv);

// The arguments as the one command line the system hands to WinMain: words
// parted by spaces, a word that holds a space or is empty in double quotes.
std::string CommandLineOf(int argc, char** argv);

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
