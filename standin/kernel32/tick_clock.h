// The tick counter's clock: the steady clock, or in capture mode a virtual
// one that moves only when a frame is presented.
#pragma once

#include <cstdint>

namespace standin {

// From now on GetTickCount reads startMilliseconds plus what the capture has
// moved it on, and Sleep returns at once: waiting changes nothing on a clock
// that only frames move.
void UseVirtualTickCount(uint32_t startMilliseconds);
void AdvanceVirtualTickCount(uint32_t milliseconds);

}  // namespace standin
