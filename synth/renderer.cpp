#include "renderer.hpp"

#include <cmath>

void step_voice(Voice& voice, Track track) {
    if (!voice.active) {
        return;
    }
    if (++voice.sample_in_note < voice.note_length) {
        return;
    }
    const NoteEvent& event = track[voice.position / 2];
    voice.position += 2;
    voice.sample_in_note = 0;
    if (event.note == TRACK_END) {
        voice.active = 0;
        voice.frequency = 0.0f; // note_length keeps its value
        return;
    }
    voice.note_length = event.duration * TICK_SAMPLES;
    voice.frequency = note_frequencies[event.note];
}

float voice_level(const Voice& voice) {
    const double x = static_cast<double>(2 * voice.sample_in_note) *
                     static_cast<double>(voice.frequency) * PHASE_STEP * PHASE_SCALE;
    const auto half_period = static_cast<std::int64_t>(std::ceil(x));
    return half_period % 2 != 0 ? LEVEL_HIGH : LEVEL_LOW;
}

std::int16_t mix_levels(float level1, float level2) {
    const double sum = static_cast<double>(level2) + static_cast<double>(level1);
    return static_cast<std::int16_t>(std::floor(sum * AMPLITUDE * HALF));
}

void render_samples(Voice& voice1, Track track1, Voice& voice2, Track track2, std::int16_t* out,
                    int count) {
    for (int i = 0; i < count; ++i) {
        step_voice(voice1, track1);
        step_voice(voice2, track2);
        out[i] = mix_levels(voice_level(voice1), voice_level(voice2));
    }
}

signed char fill_buffer(Voice& voice1, Track track1, Voice& voice2, Track track2, void* buffer,
                        int length) {
    const int samples = length >> 1; // rounds toward minus infinity: never below -1
    render_spans(voice1, track1, voice2, track2, static_cast<std::int16_t*>(buffer), samples);
    return voice1.active != 0 || voice2.active != 0 ? -1 : 0;
}

int track_samples(Track track) {
    int samples = 0;
    for (; track->note != TRACK_END; ++track) {
        samples += event_samples(*track);
    }
    return samples;
}
