// The square-wave renderer: two voices step through their tracks one sample at a time, each
// sounds a square wave of its current pitch, and the two are mixed into one 16-bit sample.
#pragma once

#include "song.hpp"

#include <bit>
#include <cstdint>
#include <numbers>

inline constexpr int SAMPLE_RATE = 44100;

// A voice's phase after n samples is x = 2n * frequency * PHASE_STEP * PHASE_SCALE, which is
// n * frequency / 22050: the number of half periods gone by. These exact doubles, multiplied in
// this order, are what fix every sample of the song.
inline constexpr double PHASE_STEP = std::numbers::pi / SAMPLE_RATE;
inline constexpr double PHASE_SCALE = std::numbers::inv_pi;
static_assert(std::bit_cast<std::uint64_t>(PHASE_STEP) == 0x3F12ACB24B91E1EE);
static_assert(std::bit_cast<std::uint64_t>(PHASE_SCALE) == 0x3FD45F306DC9C883);

inline constexpr float LEVEL_HIGH = 1.0f;
inline constexpr float LEVEL_LOW = -1.0f;
inline constexpr float AMPLITUDE = 32767.0f;
inline constexpr float HALF = 0.5f;

// Where one voice stands in its track.
struct Voice {
    std::uint8_t active = 1;         // 0 for good once the end event has been read
    std::int32_t position = 0;       // byte offset of the next event; 2 bytes per event
    std::int32_t sample_in_note = 0; // samples since the current event began
    std::int32_t note_length = 0;    // length of the current event in samples
    float frequency = 0.0f;          // Hz of the current event; 0 for a rest and after the end
};

// Advances a voice by one sample, reading its next event when the current one is over.
void step_voice(Voice& voice, Track track);

// LEVEL_HIGH or LEVEL_LOW: the voice's square wave at its current sample.
float voice_level(const Voice& voice);

// One output sample from the two levels: 32767, 0 or -32767.
std::int16_t mix_levels(float level1, float level2);

// Renders `count` samples into `out` (nothing if count <= 0), stepping both voices per sample.
void render_samples(Voice& voice1, Track track1, Voice& voice2, Track track2, std::int16_t* out,
                    int count);

// The same samples as render_samples, computed a span at a time between level changes; see
// span_renderer.cpp. This is what the stream callback uses.
void render_spans(Voice& voice1, Track track1, Voice& voice2, Track track2, std::int16_t* out,
                  int count);

// How many samples an event lasts: duration * TICK_SAMPLES, or one sample if its duration is 0.
inline int event_samples(const NoteEvent& event) {
    return event.duration == 0 ? 1 : event.duration * TICK_SAMPLES;
}

// Samples from a track's start to its end event.
int track_samples(Track track);

// The callback's whole job on explicit state: fills length / 2 samples of `buffer` (a length below
// 2 writes nothing; an odd last byte is left alone) and returns -1 while either voice is still
// active afterwards, 0 once both have ended.
signed char fill_buffer(Voice& voice1, Track track1, Voice& voice2, Track track2, void* buffer,
                        int length);
