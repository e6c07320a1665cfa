// An integer linear ramp over a time window of DemoClock milliseconds.
#pragma once

#include <cstdint>

struct Envelope {
    int32_t fromValue = 0;
    int32_t toValue = 0;
    int32_t delta = 0;
    int32_t startTime = 0;
    int32_t endTime = 0;
    int32_t duration = 0;

    // The window first, then the values. Callers keep endTime > startTime.
    void Set(int32_t start, int32_t end, int32_t from, int32_t to);

    // fromValue up to startTime, toValue after endTime, the ramp between.
    int32_t Value(int32_t t) const;

    // Open at its start, closed at its end: startTime < t <= endTime.
    bool IsActive(int32_t t) const;
};
