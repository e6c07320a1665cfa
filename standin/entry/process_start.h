// What the process entry does around the program: before it, the machine's
// settings, the signals and the capture; after it, the capture's end.
#pragma once

#include <string>

namespace standin {

// Reads the hardware settings, keeps argv[0] for a system that cannot name
// the running executable, catches the signals that end a program, and takes
// the capture options out of argv, starting the capture they ask for.
// Touches no display: the program may only be asked for its help or
// version. False, after saying why on stderr, when the process must end with
// exit code 2.
bool PrepareProcess(int& argc, char** argv);

// The arguments as the one command line the system hands to WinMain: words
// parted by spaces, a word that holds a space or is empty in double quotes.
std::string CommandLineOf(int argc, char** argv);

// Once WinMain returns: --help also shows the capture options, and a capture
// is completed. Returns the process's exit code.
int FinishProcess(int exitCode, int argc, char** argv);

}  // namespace standin
