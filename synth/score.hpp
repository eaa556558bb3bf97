// Scores: the song written with note names and tick counts, turned into track events by the
// compiler. A score is a run of tokens separated by white space:
//
//   D4:5      the note D4 held for 5 ticks (sharps '#', flats 'b', octaves 0-9; A4 is 440 Hz)
//   -:11      a rest of 11 ticks
//   D6/A6:10  a chord on one voice: 10 one-tick notes alternating D6, A6, D6, ...
//   |         a bar line, for the reader only
//
// compile() appends the end event. A mistake in a score stops the build: constant evaluation
// reaches one of the functions below, which are deliberately not constexpr, and the compiler names
// it.
#pragma once

#include "song.hpp"

#include <array>
#include <cstddef>
#include <string_view>

namespace score {

void token_needs_pitch_colon_ticks();
void unknown_note_name();
void note_outside_frequency_table();
void ticks_must_be_0_to_255();
void chord_needs_at_least_one_tick();

constexpr int MAX_TICKS = 255;

constexpr bool is_separator(char c) {
    return c == ' ' || c == '\n' || c == '\t' || c == '|';
}

// Index into note_frequencies of a name such as "C#5" or "Bb4".
constexpr std::uint8_t note_index(std::string_view name) {
    constexpr int semitone_of_letter[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    if (name.size() < 2 || name[0] < 'A' || name[0] > 'G') {
        unknown_note_name();
    }
    int semitone = semitone_of_letter[name[0] - 'A'];
    std::size_t i = 1;
    if (name[i] == '#') {
        ++semitone, ++i;
    } else if (name[i] == 'b') {
        --semitone, ++i;
    }
    if (i + 1 != name.size() || name[i] < '0' || name[i] > '9') {
        unknown_note_name();
    }
    const int midi = 12 * (name[i] - '0' + 1) + semitone;
    const int index = midi + 1; // entry 0 of the table is the rest
    if (index < 1 || index >= NOTE_COUNT) {
        note_outside_frequency_table();
    }
    return static_cast<std::uint8_t>(index);
}

constexpr std::uint8_t parse_ticks(std::string_view digits) {
    if (digits.empty() || digits.size() > 3) {
        ticks_must_be_0_to_255();
    }
    int ticks = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') {
            ticks_must_be_0_to_255();
        }
        ticks = ticks * 10 + (c - '0');
    }
    if (ticks > MAX_TICKS) {
        ticks_must_be_0_to_255();
    }
    return static_cast<std::uint8_t>(ticks);
}

// Calls emit(NoteEvent) for every event of the score, the end event last.
template <typename Emit>
constexpr void for_each_event(std::string_view text, Emit emit) {
    std::size_t pos = 0;
    for (;;) {
        while (pos < text.size() && is_separator(text[pos])) {
            ++pos;
        }
        if (pos == text.size()) {
            break;
        }
        std::size_t end = pos;
        while (end < text.size() && !is_separator(text[end])) {
            ++end;
        }
        const std::string_view token = text.substr(pos, end - pos);
        pos = end;

        const std::size_t colon = token.find(':');
        if (colon == std::string_view::npos) {
            token_needs_pitch_colon_ticks();
        }
        const std::string_view pitch = token.substr(0, colon);
        const std::uint8_t ticks = parse_ticks(token.substr(colon + 1));

        if (pitch == "-") {
            emit(NoteEvent{REST, ticks});
        } else if (const std::size_t slash = pitch.find('/'); slash != std::string_view::npos) {
            if (ticks == 0) {
                chord_needs_at_least_one_tick();
            }
            const std::uint8_t notes[2] = {note_index(pitch.substr(0, slash)),
                                           note_index(pitch.substr(slash + 1))};
            for (int tick = 0; tick < ticks; ++tick) {
                emit(NoteEvent{notes[tick % 2], 1});
            }
        } else {
            emit(NoteEvent{note_index(pitch), ticks});
        }
    }
    emit(NoteEvent{TRACK_END, 0});
}

constexpr std::size_t event_count(std::string_view text) {
    std::size_t count = 0;
    for_each_event(text, [&count](NoteEvent) { ++count; });
    return count;
}

template <std::size_t N>
constexpr std::array<NoteEvent, N> compile(std::string_view text) {
    std::array<NoteEvent, N> events{};
    std::size_t i = 0;
    for_each_event(text, [&](NoteEvent event) { events[i++] = event; });
    return events;
}

// What the renderer relies on: an end event, and before it only rests and pitches of the table.
template <std::size_t N>
constexpr bool is_playable(const std::array<NoteEvent, N>& events) {
    for (std::size_t i = 0; i + 1 < N; ++i) {
        if (events[i].note >= NOTE_COUNT) {
            return false;
        }
    }
    return N > 0 && events[N - 1].note == TRACK_END;
}

// Length of a track in ticks, up to its end event.
constexpr int total_ticks(Track track) {
    int ticks = 0;
    for (; track->note != TRACK_END; ++track) {
        ticks += track->duration;
    }
    return ticks;
}

} // namespace score
