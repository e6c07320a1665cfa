// What both program entries check before the program itself runs.
#pragma once

namespace standin {

// Reads the hardware settings and, unless the command line only asks for
// help or the version, makes sure there is a display to show the program
// on. False, after saying why on stderr, when the program cannot start.
bool ReadyToStart(int argc, char** argv);

}  // namespace standin
