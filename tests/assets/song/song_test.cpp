// The module as the programs get it: its shape in libxmp, its length and
// loop, and, played, whether the ducks' notes land on their cues and the
// music does what the picture asks of it.
#include "assets/song/song.h"

#include <xmp.h>

#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "demo/intro.h"
#include "support/song_audio.h"
#include "support/test_files.h"
#include "tools/assetgen/xm_writer.h"

namespace {

const std::string kModulePath = std::string(DUCKDEMO_DATA_DIR) + "/duck.xm";
constexpr int32_t kSyncToleranceMs = 15;

const ComposedSong& Song() {
    static const ComposedSong song = ComposeSong();
    return song;
}

// The start of every full frame of a singing triple: where the beak is
// wide open.
std::vector<int32_t> SingingCueTimes() {
    std::vector<int32_t> times;
    for (const CueRow& row : IntroCueRows()) {
        bool singing = row.frameB == kSing || row.frameB == kSadSing || row.frameB == kAngryLeftSing ||
                       row.frameB == kAngryRightSing || row.frameB == kLoudSing;
        if (row.kind == CueRowKind::Triple && singing) times.push_back(row.times[1]);
    }
    return times;
}

int32_t LoudSingMs() {
    for (const CueRow& row : IntroCueRows()) {
        if (row.kind == CueRowKind::Triple && row.frameB == kLoudSing) return row.times[1];
    }
    return 0;
}

int32_t Nearest(const std::vector<int32_t>& times, int32_t target) {
    int32_t best = INT32_MIN / 2;
    for (int32_t time : times) {
        if (std::abs(time - target) < std::abs(best - target)) best = time;
    }
    return best;
}

TEST(DuckSong, LibxmpLoadsItAsAnXmWithTheIntendedShape) {
    LoadedModule module(ReadBytes(kModulePath));
    ASSERT_EQ(module.result, 0) << kModulePath;
    xmp_module_info info;
    xmp_get_module_info(module.context, &info);
    EXPECT_NE(std::string(info.mod->type).find("XM 1.04"), std::string::npos) << info.mod->type;
    EXPECT_EQ(info.mod->chn, kSongChannels);
    EXPECT_EQ(info.mod->len, static_cast<int>(Song().module.orders.size()));
    EXPECT_EQ(info.mod->rst, Song().module.restartPosition);
    EXPECT_GT(info.mod->rst, 0);
    EXPECT_EQ(info.mod->ins, static_cast<int>(Song().module.instruments.size()));
    EXPECT_EQ(info.num_sequences, 1) << "every order is reachable";
}

TEST(DuckSong, TheFileIsWhatTheGeneratorComposes) {
    std::vector<uint8_t> expected = WriteXm(Song().module);
    std::vector<uint8_t> actual = ReadBytes(kModulePath);
    EXPECT_TRUE(actual == expected) << "data/duck.xm is stale or written differently";
}

TEST(DuckSong, PlaysAtLeastEightySecondsThenLoopsBackToTheGameMusicAfterTheIntro) {
    LoadedModule module(ReadBytes(kModulePath));
    ASSERT_EQ(module.result, 0);
    ASSERT_EQ(xmp_start_player(module.context, 44100, 0), 0);
    xmp_frame_info frame;
    xmp_get_frame_info(module.context, &frame);
    EXPECT_GE(frame.total_time, 80000);

    int32_t ticks = 0;
    do {
        ASSERT_EQ(xmp_play_frame(module.context), 0);
        xmp_get_frame_info(module.context, &frame);
        ++ticks;
    } while (frame.loop_count == 0 && ticks < 20000);
    // The first tick after the loop reports the end of that tick, at the
    // restart order.
    EXPECT_EQ(frame.pos, Song().module.restartPosition);
    EXPECT_GE(frame.time, 74000);
    EXPECT_NEAR(frame.time, Song().loopStartMs, 20);
    xmp_end_player(module.context);
}

TEST(DuckSong, EverySingingCueHasAVoiceNoteInTheGeneratorsEventList) {
    std::vector<int32_t> voiceNotes;
    for (const PlacedNote& note : Song().placed) {
        bool voice = note.channel >= kVoiceChannel && note.channel < kVoiceChannel + kVoiceChannelCount;
        if (voice) voiceNotes.push_back(note.ms);
    }
    std::vector<int32_t> cues = SingingCueTimes();
    ASSERT_EQ(cues.size(), 28u);
    for (int32_t cue : cues) {
        EXPECT_LE(std::abs(Nearest(voiceNotes, cue) - cue), kSyncToleranceMs) << "cue at " << cue << " ms";
    }
}

TEST(DuckSong, EverySingingCueIsHeardWithinFifteenMilliseconds) {
    std::vector<int32_t> onsets = Onsets(VoiceAlone(), -40.0);
    ASSERT_FALSE(onsets.empty());
    std::printf("%10s %10s %6s\n", "cue ms", "onset ms", "diff");
    for (int32_t cue : SingingCueTimes()) {
        int32_t onset = Nearest(onsets, cue);
        std::printf("%10d %10d %+6d\n", cue, onset, onset - cue);
        EXPECT_LE(std::abs(onset - cue), kSyncToleranceMs) << "cue at " << cue << " ms";
    }
}

TEST(DuckSong, TheSingingStandsOutOfTheBand) {
    for (const CueRow& row : IntroCueRows()) {
        if (row.kind != CueRowKind::Triple || row.frameB == kRight || row.frameB == kLeft) continue;
        double voice = LevelDb(VoiceAlone(), row.times[1], row.times[2]);
        double whole = LevelDb(WholeSong(), row.times[1], row.times[2]);
        EXPECT_GE(voice, whole - 8.0) << "the note at " << row.times[1] << " ms drowns";
    }
}

TEST(DuckSong, TheLoudSingIsTheLoudestMomentAndNothingClips) {
    int32_t from = LoudSingMs();
    ASSERT_GT(from, 0);
    constexpr int32_t kWindow = 800;
    double loud = LevelDb(WholeSong(), from, from + kWindow);
    std::printf("loud window %.1f dB\n", loud);
    for (int32_t start = 0; start + kWindow <= Song().loopStartMs + 15000; start += 100) {
        if (start + kWindow > from - 400 && start < from + kWindow + 400) continue;
        ASSERT_LT(LevelDb(WholeSong(), start, start + kWindow), loud - 1.0) << "at " << start << " ms";
    }
    EXPECT_LT(PeakSample(WholeSong()), 32767 * 9 / 10) << "over -0.9 dB of full scale";
}

TEST(DuckSong, TheOpeningIsGentleAndTheGameLoopQuieterThanTheDucks) {
    double ducks = LevelDb(WholeSong(), 11000, 59000);
    double title = LevelDb(WholeSong(), 0, 3000);
    double story = LevelDb(WholeSong(), 4000, 10000);
    double game = LevelDb(WholeSong(), Song().loopStartMs, Song().loopStartMs + 15000);
    std::printf("ducks %.1f  title %.1f  story %.1f  game %.1f dB\n", ducks, title, story, game);
    EXPECT_LT(title, ducks - 6.0);
    EXPECT_LT(story, ducks - 3.0);
    EXPECT_LT(game, ducks - 4.0);
    EXPECT_GT(game, -40.0) << "the game still has music";
}

// Laptop speakers give back little below 150 Hz: the mix must not live
// there, and the title must not be lost against the loudest moment.
TEST(DuckSong, SmallSpeakersHearMoreThanBassAndTheTitleIsNotLost) {
    double low = ShareBelow(WholeSong(), 150.0);
    double title = LevelDb(WholeSong(), 500, 9000);
    double loudest = LoudestDb(WholeSong(), 2000);
    std::printf("below 150 Hz %.0f%%  title %.1f  loudest 2 s %.1f dB\n", 100.0 * low, title, loudest);
    EXPECT_LT(low, 0.30);
    EXPECT_GT(title, loudest - 8.0);
}

std::vector<PlacedNote> NotesOn(int32_t channel, int32_t fromMs, int32_t toMs) {
    std::vector<PlacedNote> notes;
    for (const PlacedNote& note : Song().placed) {
        if (note.channel == channel && note.ms >= fromMs && note.ms < toMs) notes.push_back(note);
    }
    return notes;
}

TEST(DuckSong, TheBirthdayLinesCarryTheBirthdaySongAndTheClosingPictureAChord) {
    IntroEnvelopes envelopes;
    SetIntroEnvelopes(envelopes);
    std::vector<PlacedNote> tune =
        NotesOn(kLeadChannel, envelopes.birthdayShow.startTime, envelopes.finaleFadeIn.startTime);
    // Semitones from the first "hap-": the tune in any key.
    const std::vector<int32_t> expected = {0, 0,  2, 0, 5, 4, 0,  0,  2, 0, 7, 5, 0,
                                           0, 12, 9, 5, 4, 2, 10, 10, 9, 5, 7, 5};
    ASSERT_EQ(tune.size(), expected.size());
    EXPECT_LT(tune.front().ms - envelopes.birthdayShow.startTime, 200);
    for (size_t i = 0; i < tune.size(); ++i) EXPECT_EQ(tune[i].note - tune[0].note, expected[i]) << "note " << i;

    std::vector<int32_t> pitchClasses;
    for (int32_t channel = kPadChannel; channel < kPadChannel + 3; ++channel) {
        for (const PlacedNote& note :
             NotesOn(channel, envelopes.finaleFadeIn.startTime, envelopes.finaleFadeIn.startTime + 100)) {
            pitchClasses.push_back((note.note - 1) % 12);
        }
    }
    std::sort(pitchClasses.begin(), pitchClasses.end());
    EXPECT_EQ(pitchClasses, (std::vector<int32_t>{0, 4, 7})) << "C major";
}

TEST(DuckSong, TheSulkingDuckSingsInMinor) {
    // Slot 4's sad notes, sung and hummed, keep to C minor: E flat, never E.
    std::vector<int32_t> sad;
    for (const CueRow& row : IntroCueRows()) {
        bool sung = row.kind == CueRowKind::Triple && row.frameB == kSadSing;
        bool hummed = row.kind == CueRowKind::Single && row.frameA == kSadSingHalf && row.times[0] < LoudSingMs();
        if (sung || hummed) sad.push_back(row.times[sung ? 1 : 0]);
    }
    ASSERT_GE(sad.size(), 8u);
    bool flatThird = false;
    for (int32_t cue : sad) {
        for (int32_t channel = kVoiceChannel; channel < kVoiceChannel + kVoiceChannelCount; ++channel) {
            for (const PlacedNote& note : NotesOn(channel, cue - 15, cue + 16)) {
                int32_t pitchClass = (note.note - 1) % 12;
                EXPECT_NE(pitchClass, 4) << "E natural at " << cue << " ms";
                flatThird = flatThird || pitchClass == 3;
            }
        }
    }
    EXPECT_TRUE(flatThird);
}

}  // namespace
