// The program's one log, as tests that read what a step appends see it.
#pragma once

#include <cstddef>
#include <gtest/gtest.h>
#include <string>

#include "core/debug_log.h"
#include "support/test_files.h"

// The log's size, started first if no line has created it yet, so that what
// a step appends is what follows.
inline size_t ProgramLogSize() {
    debugLog.Print("%s", "");
    return ReadWholeFile(debugLog.Path()).size();
}

// Cases read what the log gained since SetUp, or since they last set
// logSizeBefore.
class ProgramLogTest : public testing::Test {
protected:
    void SetUp() override { logSizeBefore = ProgramLogSize(); }

    std::string Logged() const { return ReadWholeFile(debugLog.Path()).substr(logSizeBefore); }

    size_t logSizeBefore = 0;
};
