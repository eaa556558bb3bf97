// The renderer's fast path: the same samples as render_samples, a span at a time.
//
// Why it is exact: within one event a voice's phase x(n) = 2n * f * PHASE_STEP * PHASE_SCALE is
// a chain of correctly rounded multiplications by positive numbers, so it never decreases as n
// grows, and neither does ceil(x(n)), whose parity is the level. The level therefore stays put
// until the first sample whose phase exceeds the current ceiling k. A multiplication guesses that
// sample; the guess is then moved, a sample at a time, until the very formula render_samples uses
// confirms it: x(n) > k and x(n - 1) <= k. Events are still read by step_voice itself, so the
// voices end each call exactly where the per-sample loop leaves them.
//
// The two voices are rendered one after the other: voice 2 fills its spans with the samples it
// makes against a high voice 1, then voice 1's low spans turn each of those into the sample it
// makes against a low voice 1. Both steps use mix_levels' own values.
#include "renderer.hpp"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>

namespace {

constexpr int FOREVER = INT_MAX;

double phase(std::int32_t sample_in_note, float frequency) {
    return static_cast<double>(2 * sample_in_note) * static_cast<double>(frequency) * PHASE_STEP *
           PHASE_SCALE;
}

// ceil(x) for 0 <= x < 2^63, without a library call.
std::int64_t ceiling_of(double x) {
    const auto truncated = static_cast<std::int64_t>(x);
    return truncated + (static_cast<double>(truncated) < x ? 1 : 0);
}

// One voice's place within its current span of samples at one level.
struct Cursor {
    bool high = false;
    int remaining = 0;           // samples left in the span, counting the current one
    std::int64_t ceiling = 0;    // ceil of the phase throughout the span
    double samples_per_unit = 0; // roughly how many samples the phase takes to grow by 1
    double phase_at_turn = 0;    // the phase of the sample after the span; 0 at the event's end
};

// Sets how long the span that begins on sample `now` of the event lasts.
void find_turn(const Voice& voice, Cursor& cursor, std::int32_t now) {
    // The event covers sample_in_note 0 .. end - 1; an event of length 0 still takes one sample.
    const std::int32_t end = std::max(voice.note_length, 1);
    const double ceiling = static_cast<double>(cursor.ceiling);
    const double guess = ceiling * cursor.samples_per_unit + 1.0;
    std::int32_t turn = guess >= end ? end : std::max(now + 1, static_cast<std::int32_t>(guess));
    // Both sides of the guess at once: the usual case, a right guess, then costs one wait.
    const double before_turn = phase(turn - 1, voice.frequency);
    double at_turn = turn < end ? phase(turn, voice.frequency) : 0.0;
    if (before_turn > ceiling || (turn < end && at_turn <= ceiling)) {
        while (turn > now + 1 && phase(turn - 1, voice.frequency) > ceiling) {
            --turn;
        }
        while (turn < end && (at_turn = phase(turn, voice.frequency)) <= ceiling) {
            ++turn;
        }
    }
    cursor.remaining = turn - now;
    cursor.phase_at_turn = turn < end ? at_turn : 0.0;
}

// Starts a span on the voice's current sample, knowing nothing of what came before.
void begin_span(const Voice& voice, Cursor& cursor) {
    const std::int32_t now = voice.sample_in_note;
    if (!voice.active) {
        cursor = {false, FOREVER, 0, 0, 0};
    } else if (voice.frequency == 0.0f) {
        cursor = {false, std::max(voice.note_length, 1) - now, 0, 0, 0};
    } else {
        cursor.samples_per_unit = 1.0 / phase(1, voice.frequency);
        cursor.ceiling = ceiling_of(phase(now, voice.frequency));
        cursor.high = cursor.ceiling % 2 != 0;
        find_turn(voice, cursor, now);
    }
}

// Starts the span after a turn within the same event, whose phase find_turn kept.
void continue_span(const Voice& voice, Cursor& cursor) {
    // Mostly the phase has just passed the next whole number: confirming that is cheaper than
    // working it out, and keeps one span's arithmetic from waiting on the one before.
    const std::int64_t next = cursor.ceiling + 1;
    cursor.ceiling =
        cursor.phase_at_turn <= static_cast<double>(next) ? next : ceiling_of(cursor.phase_at_turn);
    cursor.high = cursor.ceiling % 2 != 0;
    find_turn(voice, cursor, voice.sample_in_note);
}

// Steps one voice through `count` samples, handing each span to visit(first, length, high), and
// leaves the voice on the last sample as the per-sample loop would.
template <typename Visit>
void for_each_span(Voice& voice, Track track, int count, Visit visit) {
    step_voice(voice, track);
    Cursor cursor;
    begin_span(voice, cursor);
    for (int done = 0;;) {
        const int length = std::min(cursor.remaining, count - done);
        visit(done, length, cursor.high);
        done += length;
        if (done == count) {
            if (voice.active) {
                voice.sample_in_note += length - 1;
            }
            return;
        }
        if (cursor.phase_at_turn != 0.0) {
            voice.sample_in_note += length; // the level turns within the event
            continue_span(voice, cursor);
        } else {
            voice.sample_in_note += length - 1; // the event is over: read the next one
            step_voice(voice, track);
            begin_span(voice, cursor);
        }
    }
}

// Fills out[0 .. count) with one value, in 16-byte stores that may overlap.
void fill(std::int16_t* out, int count, std::int16_t value) {
    constexpr int LANE = 8;
    if (count < LANE) {
        std::fill_n(out, count, value);
        return;
    }
    std::int16_t lane[LANE];
    std::fill_n(lane, LANE, value);
    for (int i = 0; i < count - LANE; i += LANE) {
        std::memcpy(out + i, lane, sizeof lane);
    }
    std::memcpy(out + count - LANE, lane, sizeof lane);
}

} // namespace

void render_spans(Voice& voice1, Track track1, Voice& voice2, Track track2, std::int16_t* out,
                  int count) {
    if (count <= 0) {
        return;
    }
    const std::int16_t both_high = mix_levels(LEVEL_HIGH, LEVEL_HIGH);
    const std::int16_t only_2_high = mix_levels(LEVEL_LOW, LEVEL_HIGH);
    const std::int16_t only_1_high = mix_levels(LEVEL_HIGH, LEVEL_LOW);
    const std::int16_t both_low = mix_levels(LEVEL_LOW, LEVEL_LOW);

    for_each_span(voice2, track2, count, [&](int first, int length, bool high) {
        fill(out + first, length, high ? both_high : only_1_high);
    });
    for_each_span(voice1, track1, count, [&](int first, int length, bool high) {
        if (high) {
            return;
        }
        std::int16_t* span = out + first;
        for (int i = 0; i < length; ++i) {
            span[i] = span[i] == both_high ? only_2_high : both_low;
        }
    });
}
