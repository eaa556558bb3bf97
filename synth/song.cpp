// The built-in song: a little piece in D minor for two square-wave voices, about 29 seconds long.
//
// Time is counted in ticks of 535 samples (12.1 ms). Eight ticks make a sixteenth note, so a beat
// is 32 ticks (about 155 beats a minute) and a 4/4 bar is 128; each line below is half a bar, with
// a wider gap between beats. Eighteen bars and a held final chord make 2389 ticks in each voice.
//
// Voice 1 is the bass: short detached notes (5 ticks, ghost notes of 2) with rests between them.
// Voice 2 carries the melody, and between its phrases it plays chords the chiptune way: two
// pitches alternating every tick, which the ear hears as one buzzing chord.
//
// Form: intro (bars 1-2) on D minor; A (3-8), the theme over Bb - Gm - A - Dm; B (9-13) through
// F and C, the relative major, back to A and Bb; coda (14-18) over Gm - A - Dm - Gm - A; final D.
#include "song.hpp"

#include "score.hpp"

#include <string_view>

namespace {

// clang-format off
constexpr std::string_view bass_score =
    // Intro: the tonic, staccato, in a tresillo rhythm
    "D4:5 -:43  D4:5 -:43  A3:5 -:27 | " //  1 Dm
    "D4:5 -:43  D4:5 -:43  C4:5 -:27 | " //  2 Dm
    // A: the theme over i - VI - iv - V, driven in eighths
    "Bb3:5 -:11 Bb3:5 -:11  F4:5 -:11 Bb3:5 -:11 " //  3 Bb
    "Bb4:5 -:11 Bb3:5 -:11  F4:5 -:11 Bb3:5 -:11 | "
    "G3:5 -:11 G4:5 -:11  G3:5 -:11 G4:5 -:11 " //  4 Gm A
    "A3:5 -:11 A4:5 -:11  E4:5 -:11 C#5:5 -:11 | "
    "D4:5 -:43  D4:5 -:43  A3:5 -:11 C4:5 -:11 | " //  5 Dm
    "Bb3:5 -:11 Bb3:5 -:11  F4:5 -:11 Bb3:5 -:11 " //  6 Bb
    "Bb4:5 -:11 Bb3:5 -:11  F4:5 -:11 D4:5 -:11 | "
    "G3:5 -:11 G4:5 -:11  G3:5 -:11 Bb3:5 -:11 " //  7 Gm A
    "A3:5 -:11 A4:5 -:11  A3:5 -:11 C#4:5 -:11 | "
    "D4:5 -:43  A3:5 -:43  D4:5 -:27 | " //  8 Dm
    // B: to the relative major and back, with ghost notes on the off-beats
    "F3:5 -:11 F4:2 -:6 F4:2 -:6  C4:5 -:27 " //  9 F
    "F3:5 -:11 F4:2 -:6 F4:2 -:6  A3:5 -:27 | "
    "C4:5 -:11 C5:2 -:6 C5:2 -:6  G3:5 -:27 " // 10 C
    "C4:5 -:11 C5:2 -:6 C5:2 -:6  E4:5 -:27 | "
    "D4:5 -:11 D4:2 -:6 D4:2 -:6  A3:5 -:27 " // 11 Dm
    "D4:5 -:11 D4:2 -:6 D4:2 -:6  F4:5 -:27 | "
    "A3:5 -:11 A4:2 -:6 A4:2 -:6  E4:5 -:27 " // 12 A
    "A3:5 -:11 A4:2 -:6 A4:2 -:6  C#4:5 -:27 | "
    "Bb3:5 -:11 Bb4:2 -:6 Bb4:2 -:6  F4:5 -:27 " // 13 Bb
    "Bb3:5 -:11 Bb4:2 -:6 Bb4:2 -:6  D4:5 -:27 | "
    // Coda: the drive returns, then opens out before the cadence
    "G3:5 -:11 G4:5 -:11  D4:5 -:11 G4:5 -:11 " // 14 Gm
    "G3:5 -:11 G4:5 -:11  D4:5 -:11 Bb3:5 -:11 | "
    "A3:5 -:11 A4:5 -:11  E4:5 -:11 A4:5 -:11 " // 15 A
    "A3:5 -:11 C#5:5 -:11  E4:5 -:11 C#4:5 -:11 | "
    "D4:5 -:91  A3:5 -:27 | " // 16 Dm
    "G3:5 -:75  G3:5 -:43 | " // 17 Gm
    "A3:5 -:43  E4:5 -:43  C#5:5 -:27 | " // 18 A
    // Final chord: D, held
    "D4:42 -:43";

constexpr std::string_view tune_score =
    // Intro: D minor chords, arpeggiated a tick at a time
    "D6/A6:21 -:11  D6/F6:10 -:6 D6/F6:10 -:6 " //  1 Dm
    "D6/A6:5 -:3 D6/A6:5 -:3 D6/A6:5 -:3 D6/A6:5 -:3  F6/A6:10 -:22 | "
    "D6/A6:5 -:3 D6/A6:5 -:3 D6/A6:5 -:3 D6/A6:5 -:3  D6/F6:10 -:6 D6/F6:10 -:6 " //  2 Dm
    "A5/D6:5 -:3 A5/D6:5 -:3 A5/F6:5 -:11  E6/A6:5 -:3 E6/A6:5 -:3 C#6/E6:10 -:6 | "
    // A: the theme
    "D6:22 -:10  C6:3 D6:11 -:2 Bb5:6 -:2 C6:6 -:2 " //  3 Bb
    "A5:6 -:2 G5:6 -:2 A5:3 Bb5:11 -:2  F5:11 E5:11 F5:10 | "
    "G5:14 -:2 A5:14 -:2  Bb5:14 -:2 D6:3 E6:11 -:2 " //  4 Gm A
    "C#6:21 E6:21  -:6 A6/C#7:5 -:3 A6/E7:5 -:3 | "
    "D6:11 E6:11 F6:10  D6:14 -:2 A5:14 -:2 " //  5 Dm
    "A6:35  -:5 D7/F7:5 -:3 D7/A7:5 -:3 D7/F7:5 -:3 | "
    "G6:11 A6:11 G6:10  F6:3 G6:11 -:2 E6:14 -:2 " //  6 Bb
    "D6:6 -:2 E6:6 -:2 C6:6 -:2 D6:6 -:2  Bb5:22 -:10 | "
    "Bb5:6 -:2 A5:6 -:2 G5:6 -:2 Bb5:6 -:2  A5:11 Bb5:11 G5:10 " //  7 Gm A
    "E5:4 -:4 F5:4 -:4 G5:4 -:4 Bb5:4 -:4  C#6:16 -:16 | "
    "D6:42  -:6 D6/A6:10 -:6  A5/D6:10 -:54 | " //  8 Dm
    // B: brighter, an octave up, each phrase closing on a chord
    "Bb6:3 A6:11 -:2 G6:3 A6:11 -:2  F6:6 -:2 E6:6 -:2 B5:3 C6:11 -:2 " //  9 F
    "F6:6 -:2 G6:6 -:2 A6:6 -:2 F6:6 -:2  A6/C7:10 -:6 A6/C7:5 -:3 A6/F7:5 -:3 | "
    "A6:3 G6:11 -:2 F6:3 G6:11 -:2  E6:6 -:2 D6:6 -:2 B5:3 C6:11 -:2 " // 10 C
    "E6:6 -:2 F6:6 -:2 G6:6 -:2 E6:6 -:2  G6/C7:10 -:6 G6/C7:5 -:3 G6/E7:5 -:3 | "
    "G6:3 F6:11 -:2 E6:14 -:2  D6:14 -:2 Bb5:3 A5:11 -:2 " // 11 Dm
    "D6:11 -:5 F6:11 -:5  A6/D7:21 -:11 | "
    "E6:14 -:2 C#6:14 -:2  A5:14 -:2 E6:14 -:2 " // 12 A
    "A6:21 E6:21  -:6 A6/C#7:10 -:6 | "
    "D7:11 C7:11 D7:10  C7:14 -:2 C7:3 Bb6:11 -:2 " // 13 Bb
    "F6:21 D6:21  -:6 Bb6/D7:5 -:3 Bb6/F7:5 -:3 | "
    // Coda: climbs to the top of the range, then falls back to the home chord
    // 14 Gm
    "G6:6 -:2 A6:6 -:2 Bb6:6 -:2 D7:6 -:2  G6/Bb6:5 -:3 G6/Bb6:5 -:3 G6/D7:4 -:4 G6/D7:4 -:4 "
    "G6/D7:10 -:6 G6/Bb6:10 -:6  D7:3 Eb7:11 -:2 D7:14 -:2 | "
    "Bb6:3 A6:11 -:2 E6:3 F6:11 -:2  C#6:14 -:2 D6:3 E6:11 -:2 " // 15 A
    "A7/C#8:21 -:11  A6/E7:5 -:3 A6/E7:5 -:3 A6/C#7:4 -:4 A6/C#7:4 -:4 | "
    "D6:42  -:6 D7/A7:10 -:70 | " // 16 Dm
    "Bb5:11 C6:11 Bb5:10  A5:14 -:2 G5:14 -:2 " // 17 Gm
    "D5:22 -:10  Bb4:22 -:10 | "
    "C#5:6 -:2 D5:6 -:2 E5:14 -:2  A5:14 -:2 C#6:14 -:2 " // 18 A
    "E6:14 -:2 A6:14 -:2  C#7/E7:21 -:11 | "
    // Final note: D, held
    "D6:42 -:43";

// clang-format on

constexpr auto bass = score::compile<score::event_count(bass_score)>(bass_score);
constexpr auto tune = score::compile<score::event_count(tune_score)>(tune_score);

static_assert(score::is_playable(bass) && score::is_playable(tune));
// Both voices must end on the same sample, or one would fall silent before the other.
static_assert(score::total_ticks(bass.data()) == score::total_ticks(tune.data()));

} // namespace

const Track track1 = bass.data();
const Track track2 = tune.data();
