// Capture mode: the program runs unchanged on virtual clocks that move one
// frame at a time; each presented frame goes to PNG files or a video, the
// music is rendered offline beside it, and input comes from a script.
#pragma once

#include "standin/capture/capture_options.h"

namespace standin {

// Sets everything up before the program starts. False, after saying why on
// stderr, when the capture cannot run (a bad script, no ffmpeg for a video,
// an output that cannot be made); nothing is written then.
bool StartCapture(const CaptureSettings& settings);

// The exit code of a capture that a signal ended before its end.
constexpr int kCaptureCutShort = 3;

// Completes the capture of a program that returned exitCode, or discards it
// when the program showed no frame. Returns the process's exit code: 2 when
// the capture's output is not complete, kCaptureCutShort when a signal ended
// it early.
int EndCapture(int exitCode);

}  // namespace standin
