#include "demo/intro.h"

#include "core/random.h"

namespace {

void DrawTextLines(int32_t t, std::span<const IntroTextLine> lines, const IntroEnvelopes& envelopes, const Font& font,
                   Bitmap& target) {
    for (const IntroTextLine& line : lines) {
        if (!(envelopes.*line.show).IsActive(t)) continue;
        const Envelope& fadeOut = envelopes.*line.fadeOut;
        int32_t level = fadeOut.IsActive(t) ? fadeOut.Value(t) : (envelopes.*line.fadeIn).Value(t);
        font.DrawStringScaled(target, line.x, line.y, line.text, level);
    }
}

void ScaleWhileActive(const Envelope& fade, int32_t t, Bitmap& target) {
    if (fade.IsActive(t)) target.ScaleBrightness(fade.Value(t));
}

}  // namespace

void AddIntroCues(DuckRow& row) {
    for (const CueRow& cue : IntroCueRows()) {
        const int32_t* time = cue.times;
        switch (cue.kind) {
            case CueRowKind::Single:
                row.AddCue(time[0], time[1], cue.slot, cue.frameA);
                break;
            case CueRowKind::Triple:
                row.AddCue(time[0], time[1], cue.slot, cue.frameA);
                row.AddCue(time[1], time[2], cue.slot, cue.frameB);
                row.AddCue(time[2], time[3], cue.slot, cue.frameA);
                break;
            case CueRowKind::Group:
                for (int32_t slot : {0, 1, 2, 3}) row.AddCue(time[0], time[1], slot, cue.frameA);
                row.AddCue(time[0], time[1], 5, cue.frameB);
                break;
        }
    }
}

void DrawIntroFrame(int32_t t, DuckRow& row, const IntroEnvelopes& envelopes, const Font& font,
                    std::span<const IntroTextLine> lines) {
    Bitmap& target = row.target;

    DrawTextLines(t, lines.subspan(0, 4), envelopes, font, target);

    // The row performs from the start of its fade-in until its fade-out ends.
    if (envelopes.rowFadeIn.startTime < t && t <= envelopes.rowFadeOut.endTime) {
        row.jitterX = 0;
        row.jitterY = 0;
        ShakeWindow shake = IntroShakeWindow();
        if (shake.start < t && t <= shake.end) {
            row.jitterX = NextRandom() / 8192;
            row.jitterY = NextRandom() / 8192;
        }
        row.Draw(t);
        ScaleWhileActive(envelopes.rowFadeIn, t, target);
        ScaleWhileActive(envelopes.rowFadeOut, t, target);
    }

    DrawTextLines(t, lines.subspan(4, 2), envelopes, font, target);

    if (envelopes.finaleFadeIn.IsActive(t)) {
        row.jitterX = 0;
        row.jitterY = 0;
        row.Draw(0);  // no cue covers 0: six stance ducks
        target.ScaleBrightness(envelopes.finaleFadeIn.Value(t));
    }
}
