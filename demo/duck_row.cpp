#include "demo/duck_row.h"

#include "core/data_path.h"

void DuckRow::LoadFrame(int32_t index, const char* relativePath) {
    if (index < 0 || index >= kDuckFrameCount) return;
    frames[index].LoadTga(ResolveDataPath(relativePath));
    frames[index].QuarterTurn();
}

void DuckRow::AddCue(int32_t start, int32_t end, int32_t slot, int32_t frame) {
    if (cueCount >= kCueCapacity) return;
    cues[cueCount++] = {start, end, slot, frame};
}

void DuckRow::SlotFramesAt(int32_t t, int32_t slotFrame[kDuckSlotCount]) const {
    for (int32_t slot = 0; slot < kDuckSlotCount; ++slot) slotFrame[slot] = kStance;
    for (int32_t i = 0; i < cueCount; ++i) {
        const SpriteCue& cue = cues[i];
        bool covers = cue.start < t && t <= cue.end;
        bool valid = cue.slot >= 0 && cue.slot < kDuckSlotCount && cue.frame >= 0 && cue.frame < kDuckFrameCount;
        if (covers && valid) slotFrame[cue.slot] = cue.frame;
    }
}

void DuckRow::Draw(int32_t t) {
    int32_t slotFrame[kDuckSlotCount];
    SlotFramesAt(t, slotFrame);
    for (int32_t slot = 0; slot < kDuckSlotCount; ++slot)
        target.Blit(frames[slotFrame[slot]], kRowX + jitterX, SlotY(slot) + jitterY);
}
