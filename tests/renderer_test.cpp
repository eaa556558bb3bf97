// The renderer, sample by sample, on small tracks and on the whole song.
#include "renderer.hpp"
#include "song.hpp"
#include "song_render.hpp"
#include "whole_song.hpp"

#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

constexpr std::int16_t LOUD = 32767;
constexpr std::int16_t SILENT = -32767;
constexpr NoteEvent END{TRACK_END, 0};
constexpr NoteEvent A4_FOR_2_TICKS{70, 2};
const NoteEvent silence[] = {END};

// Levels of one voice playing `track` against a voice that has already ended.
std::vector<float> levels_of(Track track, int count) {
    Voice voice;
    std::vector<float> levels;
    for (int i = 0; i < count; ++i) {
        step_voice(voice, track);
        levels.push_back(voice_level(voice));
    }
    return levels;
}

TEST(Renderer, SquareWaveAt440HzTurnsWhereThePhaseCrossesWholeNumbers) {
    const NoteEvent track[] = {A4_FOR_2_TICKS, END};
    const std::vector<float> levels = levels_of(track, 1070);
    // The level changes after every 22050 / 440 = 50.11 samples, beginning low for one sample.
    const struct {
        int sample;
        float level;
    } expected[] = {{0, LEVEL_LOW},    {1, LEVEL_HIGH},   {50, LEVEL_HIGH},  {51, LEVEL_LOW},
                    {100, LEVEL_LOW},  {101, LEVEL_HIGH}, {150, LEVEL_HIGH}, {151, LEVEL_LOW},
                    {451, LEVEL_HIGH}, {452, LEVEL_LOW},  {1069, LEVEL_LOW}};
    for (const auto& [sample, level] : expected) {
        EXPECT_EQ(levels[sample], level) << "sample " << sample;
    }
    int turns = 0;
    for (std::size_t i = 1; i < levels.size(); ++i) {
        turns += levels[i] != levels[i - 1];
    }
    EXPECT_EQ(turns, 22) << "x climbs from 0 to 21.3: one turn at the start, one per whole number";
}

TEST(Renderer, MixesTwoLevelsIntoThreeSampleValues) {
    EXPECT_EQ(mix_levels(LEVEL_HIGH, LEVEL_HIGH), LOUD);
    EXPECT_EQ(mix_levels(LEVEL_HIGH, LEVEL_LOW), 0);
    EXPECT_EQ(mix_levels(LEVEL_LOW, LEVEL_HIGH), 0);
    EXPECT_EQ(mix_levels(LEVEL_LOW, LEVEL_LOW), SILENT);
}

TEST(Renderer, EventsLastTheirTicksAndAnEmptyEventOneSample) {
    const NoteEvent track[] = {{70, 0}, {REST, 1}, {70, 1}, END};
    Voice voice;
    step_voice(voice, track); // sample 0 loads the empty event
    EXPECT_EQ(voice.position, 2);
    step_voice(voice, track); // ... and sample 1 already the rest after it
    EXPECT_EQ(voice.position, 4);
    EXPECT_EQ(voice.frequency, 0.0f);
    for (int i = 0; i < TICK_SAMPLES; ++i) {
        EXPECT_EQ(voice_level(voice), LEVEL_LOW) << "a rest is low for its whole length";
        step_voice(voice, track);
    }
    EXPECT_EQ(voice.position, 6) << "the note follows the rest after exactly one tick";
    EXPECT_EQ(voice.frequency, 440.0f);
    for (int i = 0; i < TICK_SAMPLES; ++i) {
        step_voice(voice, track);
    }
    EXPECT_EQ(voice.active, 0);
    EXPECT_EQ(voice.frequency, 0.0f);
    EXPECT_EQ(voice.note_length, TICK_SAMPLES) << "the end event keeps the last length";
}

TEST(Renderer, DurationOfTheEndEventHasNoEffect) {
    const NoteEvent plain_end[] = {A4_FOR_2_TICKS, END};
    const NoteEvent odd_end[] = {A4_FOR_2_TICKS, {TRACK_END, 200}};
    EXPECT_EQ(levels_of(plain_end, 3000), levels_of(odd_end, 3000));
}

TEST(Renderer, FillBufferWritesHalfTheLengthAndReportsWhetherTheSongGoesOn) {
    struct Case {
        int length;
        int samples_written;
    };
    for (const Case c : {Case{-7, 0}, Case{-1, 0}, Case{0, 0}, Case{1, 0}, Case{5, 2}}) {
        SCOPED_TRACE(c.length);
        Voice voice1;
        Voice voice2;
        unsigned char buffer[8];
        std::memset(buffer, 0xAB, sizeof buffer);
        EXPECT_EQ(fill_buffer(voice1, track1, voice2, track2, buffer, c.length), -1);
        for (int i = 2 * c.samples_written; i < 8; ++i) {
            EXPECT_EQ(buffer[i], 0xAB) << "byte " << i << " is not the callback's to write";
        }
        if (c.samples_written == 2) {
            std::int16_t written[2];
            std::memcpy(written, buffer, sizeof written);
            EXPECT_EQ(written[0], SILENT);
            EXPECT_EQ(written[1], LOUD);
        }
    }
    // Once both voices have ended, a call that writes nothing still reports the end.
    Voice ended1;
    Voice ended2;
    std::int16_t sample;
    fill_buffer(ended1, silence, ended2, silence, &sample, 2);
    EXPECT_EQ(fill_buffer(ended1, silence, ended2, silence, nullptr, 0), 0);
    EXPECT_EQ(sample, SILENT);
}

TEST(Renderer, SongOpensLowThenLoudUntilAVoiceTurns) {
    const std::vector<std::int16_t> song = render_song_in_blocks();
    EXPECT_EQ(song[0], SILENT);
    // The first notes are D4 and D6: D6 (1174.66 Hz) turns first, after 22050 / 1174.66 = 18.8
    // samples, so samples 1 to 18 have both voices high.
    for (int i = 1; i <= 18; ++i) {
        EXPECT_EQ(song[i], LOUD) << "sample " << i;
    }
    EXPECT_EQ(song[19], 0);
}

TEST(Renderer, BothVoicesEndOnTheSameSample) {
    Voice voice1;
    Voice voice2;
    std::vector<std::int16_t> music(SONG_SAMPLES);
    render_samples(voice1, track1, voice2, track2, music.data(), SONG_SAMPLES);
    EXPECT_EQ(voice1.active, 1);
    EXPECT_EQ(voice2.active, 1);
    std::int16_t sample;
    render_samples(voice1, track1, voice2, track2, &sample, 1);
    EXPECT_EQ(voice1.active, 0);
    EXPECT_EQ(voice2.active, 0);
    EXPECT_EQ(sample, SILENT) << "the sample that reads the end events is already silent";
    EXPECT_EQ(song_samples(), SONG_SAMPLES);
}

TEST(Renderer, SongIsTheSameWhateverTheBlockSizes) {
    const std::vector<std::int16_t> in_quarter_seconds = render_song_in_blocks();
    // 116 blocks of 11025 samples: the music, then the rest of the last block at the silent level.
    ASSERT_EQ(in_quarter_seconds.size(), 116u * 11025u);
    for (std::size_t i = SONG_SAMPLES; i < in_quarter_seconds.size(); ++i) {
        ASSERT_EQ(in_quarter_seconds[i], SILENT) << "sample " << i;
    }

    std::vector<std::int16_t> in_single_samples = render_song_in_blocks(2);
    EXPECT_EQ(in_single_samples.size(), SONG_SAMPLES + 1u) << "stops at the sample that ends it";
    in_single_samples.resize(in_quarter_seconds.size(), SILENT);
    EXPECT_TRUE(in_single_samples == in_quarter_seconds);

    std::mt19937 random(2389);
    std::uniform_int_distribution<int> length(-3, 30000);
    std::vector<std::int16_t> in_odd_sizes = render_song_in_calls([&] { return length(random); });
    in_odd_sizes.resize(in_quarter_seconds.size(), SILENT);
    EXPECT_TRUE(in_odd_sizes == in_quarter_seconds);
}

// Recorded from this renderer on x86-64. Any change in the arithmetic (x87 extended precision,
// fused multiplies, another pitch or event) changes it: every build must match it bit for bit.
TEST(Renderer, SongMatchesItsRecordedFingerprint) {
    const std::vector<std::int16_t> song = render_song_in_blocks();
    EXPECT_EQ(song.size(), 1278900u);
    EXPECT_EQ(fingerprint(song), 0x2fa561b63989de7bu);
}

} // namespace
