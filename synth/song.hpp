// The built-in song: two tracks of note events and the table that turns a note index into a pitch.
#pragma once

#include <array>
#include <cstdint>

// One event of a track: a pitch (or a rest, or the end marker) held for a number of ticks.
struct NoteEvent {
    std::uint8_t note;     // REST, 1..144 (an index into note_frequencies) or TRACK_END
    std::uint8_t duration; // in ticks; not read for TRACK_END
};
static_assert(sizeof(NoteEvent) == 2, "a track is a plain run of two-byte events");

// A track is read from its first event up to the first TRACK_END; it carries no length.
using Track = const NoteEvent*;

inline constexpr int TICK_SAMPLES = 535;
inline constexpr std::uint8_t REST = 0;
inline constexpr std::uint8_t TRACK_END = 255;
inline constexpr int NOTE_COUNT = 145; // REST and the pitches 1..144

// Hz for each note index; entry n (n >= 1) is MIDI note n - 1, so entry 70 is A4 = 440 Hz.
extern const std::array<float, NOTE_COUNT> note_frequencies;

extern const Track track1; // voice 1, the lower part
extern const Track track2; // voice 2, the upper part
