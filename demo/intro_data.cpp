// The intro's timing: the cue table and the envelope settings.
#include <iterator>

#include "demo/intro.h"

namespace {

constexpr CueRow S(int32_t slot, int32_t a, int32_t b, DuckFrame frame) {
    return {CueRowKind::Single, slot, {a, b, 0, 0}, frame, frame};
}

constexpr CueRow T(int32_t slot, int32_t a, int32_t b, int32_t c, int32_t d, DuckFrame half, DuckFrame full) {
    return {CueRowKind::Triple, slot, {a, b, c, d}, half, full};
}

constexpr CueRow G(int32_t a, int32_t b, DuckFrame slots0To3, DuckFrame slot5) {
    return {CueRowKind::Group, -1, {a, b, 0, 0}, slots0To3, slot5};
}

constexpr CueRow kCueRows[] = {
    T(0, 12465, 12515, 12615, 12665, kSingHalf, kSing),
    T(2, 12705, 12755, 12855, 12905, kSingHalf, kSing),
    T(1, 12940, 12990, 13090, 13140, kSingHalf, kSing),
    T(3, 13350, 13400, 13500, 13550, kSingHalf, kSing),
    T(5, 13900, 13950, 14050, 14100, kSingHalf, kSing),
    T(4, 14410, 14460, 14660, 14710, kSingHalf, kSing),
    G(15000, 17000, kRight, kLeft),
    G(17000, 19000, kWtfRight, kWtfLeft),
    G(19000, 21500, kAngryRight, kAngryLeft),
    S(4, 16000, 17000, kLeft),
    T(4, 16700, 18400, 19100, 20000, kRight, kLeft),
    S(4, 20000, 21500, kSadLookdown),
    S(4, 21500, 22500, kSad),
    S(4, 22500, 35574, kSad),
    T(1, 22469, 22519, 22619, 22669, kSingHalf, kSing),
    T(0, 22695, 22745, 22845, 22895, kSingHalf, kSing),
    T(3, 22942, 22992, 23092, 23142, kSingHalf, kSing),
    T(5, 23427, 23477, 23577, 23627, kSingHalf, kSing),
    T(2, 23899, 23949, 24049, 24099, kSingHalf, kSing),
    T(4, 24414, 24464, 24664, 24714, kSadSingHalf, kSadSing),
    T(4, 28066, 28116, 28316, 28366, kSadSingHalf, kSadSing),
    S(4, 30551, 30881, kSadSingHalf),
    S(4, 33000, 33367, kSadSingHalf),
    S(4, 35173, 35574, kSadSingHalf),
    G(24800, 37000, kAngryRight, kAngryLeft),
    G(37000, 39000, kRight, kLeft),
    T(1, 40265, 40315, 40415, 40465, kSingHalf, kSing),
    T(0, 40504, 40554, 40654, 40704, kSingHalf, kSing),
    T(3, 40731, 40781, 40881, 40931, kSingHalf, kSing),
    T(5, 41217, 41267, 41367, 41417, kSingHalf, kSing),
    T(0, 41702, 41752, 41852, 41902, kSingHalf, kSing),
    T(2, 42175, 42225, 42325, 42375, kSingHalf, kSing),
    S(4, 35574, 42650, kSad),
    T(4, 36919, 36969, 37569, 37619, kSadSingHalf, kSadSing),
    T(4, 42650, 42700, 42800, 42850, kSadSingHalf, kSadSing),
    S(4, 42850, 48104, kSadLookdown),
    G(42704, 53600, kAngryRight, kAngryLeft),
    G(53600, 54600, kRight, kLeft),
    S(4, 48104, 61700, kSad),
    T(5, 48086, 48136, 48236, 48286, kAngryLeftSingHalf, kAngryLeftSing),
    T(0, 48370, 48420, 48520, 48570, kAngryRightSingHalf, kAngryRightSing),
    T(1, 48654, 48704, 48804, 48854, kAngryRightSingHalf, kAngryRightSing),
    T(3, 49219, 49269, 49369, 49419, kAngryRightSingHalf, kAngryRightSing),
    T(2, 49777, 49827, 49927, 49977, kAngryRightSingHalf, kAngryRightSing),
    T(4, 53358, 53408, 53508, 53558, kSadSingHalf, kSadSing),
    T(4, 55804, 55854, 56654, 56704, kLoudSingHalf, kLoudSing),
    S(4, 56795, 56995, kSadSingHalf),
    G(56800, 61700, kRight, kLeft),
};

struct EnvelopeSetting {
    Envelope IntroEnvelopes::*envelope;
    int32_t startTime;
    int32_t endTime;
    int32_t fromValue;
    int32_t toValue;
};

constexpr EnvelopeSetting kEnvelopeSettings[] = {
    {&IntroEnvelopes::titleShow, 0, 3000, 0, 0},
    {&IntroEnvelopes::titleFadeIn, 0, 500, 0, 255},
    {&IntroEnvelopes::presentsFadeIn, 500, 1000, 0, 255},
    {&IntroEnvelopes::titleFadeOut, 2500, 3000, 255, 0},
    {&IntroEnvelopes::storyShow, 4000, 10000, 0, 0},
    {&IntroEnvelopes::storyFadeIn, 4000, 6000, 0, 255},
    {&IntroEnvelopes::storyFadeOut, 8000, 10000, 255, 0},
    {&IntroEnvelopes::rowFadeIn, 10000, 11000, 0, 255},
    {&IntroEnvelopes::rowFadeOut, 59000, 61700, 255, 0},
    {&IntroEnvelopes::birthdayShow, 62000, 70000, 0, 0},
    {&IntroEnvelopes::birthdayFadeIn, 62000, 64000, 0, 255},
    {&IntroEnvelopes::birthdayFadeOut, 68000, 70000, 255, 0},
    {&IntroEnvelopes::finaleFadeIn, 72000, 74000, 0, 255},
};

constexpr IntroTextLine kTextLines[] = {
    {"m o r v e k", 100, 204, &IntroEnvelopes::titleShow, &IntroEnvelopes::titleFadeIn, &IntroEnvelopes::titleFadeOut},
    {"presents", 116, 192, &IntroEnvelopes::titleShow, &IntroEnvelopes::presentsFadeIn, &IntroEnvelopes::titleFadeOut},
    {"\"based on a true story\"", 100, 256, &IntroEnvelopes::storyShow, &IntroEnvelopes::storyFadeIn,
     &IntroEnvelopes::storyFadeOut},
    {"a birthday demo", 116, 224, &IntroEnvelopes::storyShow, &IntroEnvelopes::storyFadeIn,
     &IntroEnvelopes::storyFadeOut},
    {"happy birthday", 100, 216, &IntroEnvelopes::birthdayShow, &IntroEnvelopes::birthdayFadeIn,
     &IntroEnvelopes::birthdayFadeOut},
    {"tiru :)", 116, 188, &IntroEnvelopes::birthdayShow, &IntroEnvelopes::birthdayFadeIn,
     &IntroEnvelopes::birthdayFadeOut},
};

static_assert(std::size(kTextLines) == kIntroTextLineCount);

// The one triple of the loud sing, by its full frame.
constexpr ShakeWindow FindShakeWindow() {
    for (const CueRow& row : kCueRows)
        if (row.kind == CueRowKind::Triple && row.frameB == kLoudSing) return {row.times[1], row.times[2]};
    return {0, 0};
}

constexpr ShakeWindow kShakeWindow = FindShakeWindow();
static_assert(kShakeWindow.end > kShakeWindow.start, "the cue table has a loud sing");

}  // namespace

std::span<const CueRow> IntroCueRows() { return kCueRows; }

std::span<const IntroTextLine> IntroTextLines() { return kTextLines; }

ShakeWindow IntroShakeWindow() { return kShakeWindow; }

void SetIntroEnvelopes(IntroEnvelopes& envelopes) {
    for (const EnvelopeSetting& setting : kEnvelopeSettings)
        (envelopes.*setting.envelope).Set(setting.startTime, setting.endTime, setting.fromValue, setting.toValue);
}

int32_t IntroEndTime() {
    IntroEnvelopes envelopes;
    SetIntroEnvelopes(envelopes);
    return envelopes.finaleFadeIn.endTime;
}
