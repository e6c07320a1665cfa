// The program's one log, as tests that read what a step appends see it.
#pragma once

#include <cstddef>

#include "core/debug_log.h"
#include "support/test_files.h"

// The log's size, started first if no line has created it yet, so that what
// a step appends is what follows.
inline size_t ProgramLogSize() {
    debugLog.Print("%s", "");
    return ReadWholeFile(debugLog.Path()).size();
}
