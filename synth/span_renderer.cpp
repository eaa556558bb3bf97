// The renderer's fast path: the same samples as render_samples, a span at a time.
//
// Why it is exact: within one event a voice's phase x(n) = 2n * f * PHASE_STEP * PHASE_SCALE is
// a chain of correctly rounded multiplications by positive numbers, so it never decreases as n
// grows, and neither does ceil(x(n)). A voice's level therefore stays put until the first sample
// whose x exceeds the current ceiling k. Division guesses that sample; the guess is then moved,
// one sample at a time, until the very formula render_samples uses confirms it: x(n) > k and
// x(n - 1) <= k. Between two such turns (or event boundaries) of either voice every sample is the
// same, and a whole span is filled at once. Events are still read by step_voice itself.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "renderer.hpp"

namespace {

constexpr int FOREVER = INT_MAX;

double phase(std::int32_t sample_in_note, float frequency) {
    return static_cast<double>(2 * sample_in_note) * static_cast<double>(frequency) * PHASE_STEP *
           PHASE_SCALE;
}

// A voice seen from its current sample: its level, and how many samples from this one on keep
// that level within the current event.
struct Span {
    float level;
    int length;
};

Span span_of(const Voice& voice) {
    if (!voice.active) {
        return {LEVEL_LOW, FOREVER};
    }
    const std::int32_t now = voice.sample_in_note;
    // The event covers sample_in_note 0 .. end - 1; an event of length 0 still takes one sample.
    const std::int32_t end = std::max(voice.note_length, 1);
    if (voice.frequency == 0.0f) {
        return {LEVEL_LOW, end - now};
    }
    const double ceiling = std::ceil(phase(now, voice.frequency));
    const float level = static_cast<std::int64_t>(ceiling) % 2 != 0 ? LEVEL_HIGH : LEVEL_LOW;

    // The first sample past `now` whose phase exceeds the ceiling, or the end of the event.
    const double per_sample = phase(1, voice.frequency);
    const double guess = std::floor(ceiling / per_sample) + 1.0;
    std::int32_t turn = guess >= end ? end : std::max(now + 1, static_cast<std::int32_t>(guess));
    while (turn > now + 1 && phase(turn - 1, voice.frequency) > ceiling) {
        --turn;
    }
    while (turn < end && phase(turn, voice.frequency) <= ceiling) {
        ++turn;
    }
    return {level, turn - now};
}

// Moves a voice on by `samples` samples of its current span.
void skip_within_span(Voice& voice, int samples) {
    if (voice.active) {
        voice.sample_in_note += samples;
    }
}

// Moves a voice on by `samples` samples, the first of them its current one; where its span runs
// out, the next sample is stepped onto as render_samples would and a new span begins.
void move_on(Voice& voice, Track track, Span& span, int samples) {
    span.length -= samples;
    if (span.length > 0) {
        skip_within_span(voice, samples);
        return;
    }
    skip_within_span(voice, samples - 1);
    step_voice(voice, track);
    span = span_of(voice);
}

} // namespace

void render_spans(Voice& voice1, Track track1, Voice& voice2, Track track2, std::int16_t* out,
                  int count) {
    if (count <= 0) {
        return;
    }
    step_voice(voice1, track1);
    step_voice(voice2, track2);
    Span span1 = span_of(voice1);
    Span span2 = span_of(voice2);
    int done = 0;
    for (;;) {
        const int length = std::min({span1.length, span2.length, count - done});
        std::fill_n(out + done, length, mix_levels(span1.level, span2.level));
        done += length;
        if (done == count) {
            // Leave both voices on the block's last sample, as the per-sample loop would.
            skip_within_span(voice1, length - 1);
            skip_within_span(voice2, length - 1);
            return;
        }
        move_on(voice1, track1, span1, length);
        move_on(voice2, track2, span2, length);
    }
}
