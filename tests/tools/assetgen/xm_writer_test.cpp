// The XM writer and the pattern layout, checked against libxmp itself.
#include "tools/assetgen/xm_writer.h"

#include <xmp.h>

#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

#include "assets/song/score.h"
#include "assets/song/synth.h"
#include "support/song_audio.h"

namespace {

XmInstrument Tone() {
    XmInstrument instrument;
    instrument.name = "tone";
    instrument.sample = MakeSample(HarmonicCycle(64, {1.0}), 0.5, 0, 64);
    TuneSample(instrument.sample, 1.0, 64.0);
    return instrument;
}

XmModule SmallModule(const Arrangement& arrangement, int32_t channels) {
    XmModule module;
    module.name = "test";
    module.channels = channels;
    module.speed = kTicksPerRow;
    module.bpm = kSongBpm;
    module.orders = arrangement.orders;
    module.patterns = arrangement.patterns;
    module.restartPosition = arrangement.restartPosition;
    module.instruments = {Tone()};
    return module;
}

TEST(XmWriter, LibxmpReadsBackTheHeaderPatternsAndSample) {
    Score score;
    score.Note(0, 0, 49, 1, 40, 0);
    Arrangement arrangement = Arrange(score, 4, 3, 70, 100);
    XmModule module = SmallModule(arrangement, 4);
    LoadedModule loaded(WriteXm(module));
    ASSERT_EQ(loaded.result, 0);
    const xmp_module& mod = *loaded.info.mod;
    EXPECT_EQ(mod.chn, 4);
    EXPECT_EQ(mod.len, 3) << "64 + 6 rows once, 30 rows of loop";
    EXPECT_EQ(mod.rst, 2);
    EXPECT_EQ(mod.pat, 4) << "three stored, one libxmp adds";
    EXPECT_EQ(mod.xxp[mod.xxo[0]]->rows, 64);
    EXPECT_EQ(mod.xxp[mod.xxo[1]]->rows, 6);
    EXPECT_EQ(mod.spd, kTicksPerRow);
    EXPECT_EQ(mod.bpm, kSongBpm);
    ASSERT_EQ(mod.smp, 1);
    EXPECT_EQ(mod.xxs[0].len, 64);
    EXPECT_EQ(mod.xxs[0].flg & XMP_SAMPLE_16BIT, XMP_SAMPLE_16BIT);
    const auto* data = reinterpret_cast<const int16_t*>(mod.xxs[0].data);
    for (int32_t i = 0; i < 64; ++i) EXPECT_EQ(data[i], module.instruments[0].sample.pcm[i]) << "sample " << i;
}

TEST(XmWriter, NotesDelaysKeyOffsAndLevelsLandInTheirCells) {
    Score score;
    score.Note(3 * kTicksPerRow + 5, 1, 61, 1, 33, 2 * kTicksPerRow - 5);  // key-off on a row's first tick
    score.Note(8 * kTicksPerRow, 1, 50, 1, 64, kTicksPerRow + 7);          // key-off on tick 7
    score.levels.push_back({12, 0, 20});
    score.levels.push_back({13, -1, 48});
    LoadedModule loaded(WriteXm(SmallModule(Arrange(score, 4, 3, 32, 64), 4)));
    ASSERT_EQ(loaded.result, 0);

    const xmp_event& delayed = loaded.Event(0, 1, 3);
    EXPECT_EQ(delayed.note, 61 + 12) << "libxmp counts notes from C-0 minus one octave";
    EXPECT_EQ(delayed.ins, 1);
    EXPECT_EQ(delayed.vol, 33 + 1) << "libxmp stores volumes plus one";
    EXPECT_EQ(delayed.fxt, 0x0E);
    EXPECT_EQ(delayed.fxp, 0xD5);
    EXPECT_EQ(loaded.Event(0, 1, 5).note, XMP_KEY_OFF);
    EXPECT_EQ(loaded.Event(0, 1, 9).fxp, 7) << "key off at tick 7";
    EXPECT_EQ(loaded.Event(0, 0, 12).vol, 20 + 1);
    EXPECT_EQ(loaded.Event(0, 3, 13).fxp, 48) << "global volume on the control channel";
    EXPECT_EQ(loaded.Event(0, 2, 3).note, 0) << "an empty cell stays empty";
}

TEST(XmWriter, ANoteDelayStartsTheSoundOnItsTick) {
    Score score;
    const int32_t tick = 7 * kTicksPerRow + 9;  // 930 ms
    score.Note(tick, 0, 61, 1, 64, 20);
    std::vector<uint8_t> bytes = WriteXm(SmallModule(Arrange(score, 2, 1, 32, 64), 2));
    RenderedAudio audio = RenderModule(bytes, {.rate = 44100, .soloChannels = {}, .maxMs = 2000});
    std::vector<int32_t> onsets = Onsets(audio, -40.0);
    ASSERT_EQ(onsets.size(), 1u);
    EXPECT_NEAR(onsets[0], MsAt(tick), 2);
}

TEST(Arrangement, TwoNotesInOneCellAreRefused) {
    Score score;
    score.Note(12, 2, 49, 1, 64, 0);
    score.Note(15, 2, 52, 1, 64, 0);
    EXPECT_THROW(Arrange(score, 4, 3, 32, 64), std::runtime_error);
}

TEST(Arrangement, AKeyOffNeverCutsALaterNote) {
    Score score;
    score.Note(0, 0, 49, 1, 64, 10 * kTicksPerRow);  // would end on row 10
    score.Note(4 * kTicksPerRow, 0, 52, 1, 64, 0);   // but this one starts on row 4
    Arrangement arrangement = Arrange(score, 2, 1, 32, 64);
    for (int32_t row = 0; row < 32; ++row) {
        const XmCell& cell = arrangement.patterns[0].cells[static_cast<size_t>(row) * 2];
        EXPECT_NE(cell.note, kKeyOffNote) << "row " << row;
        EXPECT_NE(cell.effect, kEffectKeyOff) << "row " << row;
    }
    ASSERT_EQ(arrangement.placed.size(), 2u);
    EXPECT_EQ(arrangement.placed[1].ms, 4 * kRowMs);
}

}  // namespace
