// A capture's output, checked before the program runs: nothing is made
// before it has read its whole command line, so only whether the output can
// be made where it is to go.
#pragma once

#include "standin/capture/capture_options.h"

namespace standin {

// False, after saying why on stderr, for an extension a capture does not
// write, a folder that holds an earlier capture, or a place this program
// may not write in.
bool CheckOutput(const CaptureSettings& settings);

}  // namespace standin
