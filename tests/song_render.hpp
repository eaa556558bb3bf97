// Helpers that render the built-in song into memory with fresh voices.
#pragma once

#include "fill_stream.hpp"
#include "renderer.hpp"
#include "song.hpp"
#include "whole_song.hpp"

#include <cstdint>
#include <vector>

// Samples of music in the built-in song: 2389 ticks.
inline constexpr int SONG_SAMPLES = 1278115;

// Renders the song through fill_buffer, asking for next_length() bytes per call, until a call
// returns 0. Returns every sample written, including the silent tail of the last call.
template <typename NextLength>
std::vector<std::int16_t> render_song_in_calls(NextLength next_length) {
    Voice voice1;
    Voice voice2;
    std::vector<std::int16_t> samples;
    std::vector<std::int16_t> block;
    for (;;) {
        const int length = next_length();
        block.assign(static_cast<std::size_t>(length + 1) / 2, 0);
        const signed char more = fill_buffer(voice1, track1, voice2, track2, block.data(), length);
        samples.insert(samples.end(), block.begin(), block.begin() + length / 2);
        if (!more) {
            return samples;
        }
    }
}

inline std::vector<std::int16_t> render_song_in_blocks(int block_bytes = STREAM_BUFFER_BYTES) {
    return render_song_blocks(block_bytes);
}

// FNV-1a over the samples' little-endian bytes: a short name for a whole rendering.
inline std::uint64_t fingerprint(const std::vector<std::int16_t>& samples) {
    std::uint64_t hash = 14695981039346656037u;
    for (const std::int16_t sample : samples) {
        const unsigned bits = static_cast<std::uint16_t>(sample);
        for (const unsigned byte : {bits & 0xFFu, bits >> 8u}) {
            hash = (hash ^ byte) * 1099511628211u;
        }
    }
    return hash;
}
