#include "assets/song/song.h"

#include "assets/song/instruments.h"
#include "assets/song/song_parts.h"
#include "demo/intro.h"

ComposedSong ComposeSong() {
    IntroEnvelopes envelopes;
    SetIntroEnvelopes(envelopes);

    Score score;
    AddDuckVoices(score);
    AddBand(score, TickAt(LoudCueMs()));
    AddBirthday(score);
    // The game starts once the intro's last envelope has ended.
    int32_t loopRow = RowAtOrAfter(envelopes.finaleFadeIn.endTime);
    int32_t endRow = AddGameLoop(score, loopRow);

    Arrangement arrangement = Arrange(score, kSongChannels, kControlChannel, loopRow, endRow);
    ComposedSong song;
    song.module.name = "duck song";
    song.module.channels = kSongChannels;
    song.module.speed = kTicksPerRow;
    song.module.bpm = kSongBpm;
    song.module.restartPosition = arrangement.restartPosition;
    song.module.orders = std::move(arrangement.orders);
    song.module.patterns = std::move(arrangement.patterns);
    song.module.instruments = MakeInstruments();
    song.placed = std::move(arrangement.placed);
    song.loopStartMs = loopRow * kRowMs;
    return song;
}
