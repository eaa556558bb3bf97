// The built-in song has the shape it was written to have, and the pitch table is equal-tempered.
#include "renderer.hpp"
#include "score.hpp"
#include "song.hpp"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <vector>

namespace {

// The events of a track before its end event.
std::vector<NoteEvent> events_of(Track track) {
    std::vector<NoteEvent> events;
    for (; track->note != TRACK_END; ++track) {
        events.push_back(*track);
    }
    return events;
}

NoteEvent end_event_of(Track track) {
    while (track->note != TRACK_END) {
        ++track;
    }
    return *track;
}

struct TrackShape {
    const char* name;
    Track track;
    int events;
    int rests;
    int lowest_note;
    int highest_note;
    std::set<int> durations;
};

void PrintTo(const TrackShape& shape, std::ostream* out) {
    *out << shape.name;
}

class SongShape : public testing::TestWithParam<TrackShape> {};

TEST_P(SongShape, HasItsEventsPitchesDurationsAndLength) {
    const TrackShape& shape = GetParam();
    const std::vector<NoteEvent> events = events_of(shape.track);

    int rests = 0;
    int ticks = 0;
    int lowest = 255;
    int highest = 0;
    std::set<int> durations;
    for (const NoteEvent& event : events) {
        EXPECT_NE(event.duration, 0) << "no event of the song is empty";
        ticks += event.duration;
        durations.insert(event.duration);
        if (event.note == REST) {
            ++rests;
        } else {
            lowest = std::min<int>(lowest, event.note);
            highest = std::max<int>(highest, event.note);
        }
    }
    EXPECT_EQ(static_cast<int>(events.size()), shape.events);
    EXPECT_EQ(rests, shape.rests);
    EXPECT_EQ(lowest, shape.lowest_note);
    EXPECT_EQ(highest, shape.highest_note);
    EXPECT_EQ(durations, shape.durations);
    EXPECT_EQ(ticks, 2389);
    EXPECT_EQ(end_event_of(shape.track).note, TRACK_END);
    EXPECT_EQ(end_event_of(shape.track).duration, 0);
}

INSTANTIATE_TEST_SUITE_P(
    BuiltInSong, SongShape,
    testing::Values(
        TrackShape{"track1", track1, 218, 109, 54, 74, {2, 5, 6, 11, 27, 42, 43, 75, 91}},
        TrackShape{"track2",
                   track2,
                   642,
                   137,
                   71,
                   110,
                   {1, 2, 3, 4, 5, 6, 10, 11, 14, 16, 21, 22, 35, 42, 43, 54, 70}}),
    [](const testing::TestParamInfo<TrackShape>& info) { return info.param.name; });

TEST(SongShape, BassAlternatesShortNotesWithRests) {
    const std::vector<NoteEvent> events = events_of(track1);
    std::map<int, int> note_durations;
    std::set<int> rest_durations;
    for (std::size_t i = 0; i < events.size(); ++i) {
        const bool is_note = i % 2 == 0;
        ASSERT_EQ(events[i].note != REST, is_note) << "event " << i;
        if (is_note) {
            ++note_durations[events[i].duration];
        } else {
            rest_durations.insert(events[i].duration);
        }
    }
    EXPECT_EQ(note_durations, (std::map<int, int>{{2, 20}, {5, 88}, {42, 1}}));
    EXPECT_EQ(rest_durations, (std::set<int>{6, 11, 27, 43, 75, 91}));
}

TEST(SongShape, TuneSpellsItsChordsInRunsOfOneTickNotes) {
    const std::vector<NoteEvent> events = events_of(track2);
    std::vector<std::vector<int>> runs;
    bool in_run = false;
    for (const NoteEvent& event : events) {
        const bool one_tick_note = event.note != REST && event.duration == 1;
        if (one_tick_note) {
            if (!in_run) {
                runs.emplace_back();
            }
            runs.back().push_back(event.note);
        } else if (event.note != REST) {
            EXPECT_GE(event.duration, 2);
            EXPECT_LE(event.duration, 42);
        }
        in_run = one_tick_note;
    }

    int run_notes = 0;
    for (const std::vector<int>& run : runs) {
        run_notes += static_cast<int>(run.size());
        EXPECT_TRUE(std::set<std::size_t>({4, 5, 10, 21}).contains(run.size())) << run.size();
        const int interval = std::abs(run[0] - run[1]);
        EXPECT_GE(interval, 3);
        EXPECT_LE(interval, 16);
        for (std::size_t i = 2; i < run.size(); ++i) {
            EXPECT_EQ(run[i], run[i - 2]) << "a run switches between two pitches every tick";
        }
    }
    EXPECT_EQ(runs.size(), 50u);
    EXPECT_EQ(run_notes, 380);
}

TEST(NoteFrequencies, AreEqualTemperedAroundA440) {
    EXPECT_EQ(note_frequencies[REST], 0.0f);
    EXPECT_EQ(note_frequencies[70], 440.0f);
    EXPECT_EQ(note_frequencies[58], 220.0f);
    for (int n = 1; n < NOTE_COUNT; ++n) {
        // The printed decimals differ from the formula's own rounding by at most 5 floats.
        const float exact = static_cast<float>(440.0 * std::exp2((n - 70) / 12.0));
        float low = exact;
        float high = exact;
        for (int step = 0; step < 5; ++step) {
            low = std::nextafter(low, 0.0f);
            high = std::nextafter(high, 1e9f);
        }
        EXPECT_GE(note_frequencies[n], low) << "entry " << n;
        EXPECT_LE(note_frequencies[n], high) << "entry " << n;
    }
}

// The score notation, checked where it is used: by the compiler.
static_assert(score::note_index("A4") == 70);
static_assert(score::note_index("A3") == 58);
static_assert(score::note_index("C#5") == 74);
static_assert(score::note_index("Db5") == 74);
static_assert(score::note_index("Bb4") == 71);
static_assert(score::note_index("C0") == 13);
static_assert(score::event_count("D4:5 -:11 | D6/A6:3") == 6);
static_assert([] {
    constexpr auto events = score::compile<5>("C4:0 D6/A6:3");
    return events[0].note == 61 && events[0].duration == 0 && events[1].note == 87 &&
           events[2].note == 94 && events[3].note == 87 && events[3].duration == 1 &&
           events[4].note == TRACK_END;
}());

} // namespace
