// Scripted input for capture mode: a text file of timed mouse and key events,
// one a line, e.g. "80500 move 120 160", "80600 down", "90000 key escape".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace standin {

enum class ScriptedInputKind { Move, Down, Up, Key };

struct ScriptedInput {
    int32_t timeMilliseconds = 0;  // on the DemoClock
    ScriptedInputKind kind = ScriptedInputKind::Move;
    // Window pixels: the position a Move goes to, and for every other event
    // where the pointer is (Down and Up press the left button there).
    int32_t x = 0;
    int32_t y = 0;
    uint32_t virtualKey = 0;  // Key only: the Win32 VK_ code, pressed and released
};

// Reads a script into events. Lines are "TIME move X Y", "TIME down",
// "TIME up" or "TIME key NAME", with TIME in whole milliseconds that never go
// backwards, 0 <= X, Y <= 65535, names in any case; '#' starts a comment.
// A down or up needs a move before it. On the first bad line returns false,
// leaving events as they were, with error one line: "FILE:LINE: expected
// ..., found ...".
bool ReadInputScript(const std::string& path, std::vector<ScriptedInput>& events, std::string& error);

// The same from text; name stands for the file in errors.
bool ParseInputScript(const std::string& text, const std::string& name, std::vector<ScriptedInput>& events,
                      std::string& error);

}  // namespace standin
