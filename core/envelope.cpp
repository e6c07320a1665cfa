#include "core/envelope.h"

void Envelope::Set(int32_t start, int32_t end, int32_t from, int32_t to) {
    fromValue = from;
    toValue = to;
    delta = to - from;
    startTime = start;
    endTime = end;
    duration = end - start;
}

int32_t Envelope::Value(int32_t t) const {
    if (t < startTime) return fromValue;
    if (t > endTime) return toValue;
    // Division truncates toward zero, so a falling ramp leaves fromValue as
    // late as a rising one does.
    return (t - startTime) * delta / duration + fromValue;
}

bool Envelope::IsActive(int32_t t) const { return startTime < t && t <= endTime; }
