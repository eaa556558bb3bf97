#include "whole_song.hpp"

#include "renderer.hpp"
#include "song.hpp"

#include <algorithm>

std::vector<std::int16_t> render_song_blocks(int block_bytes) {
    Voice voice1;
    Voice voice2;
    const auto block_samples = static_cast<std::size_t>(block_bytes / 2);
    std::vector<std::int16_t> samples;
    for (;;) {
        samples.resize(samples.size() + block_samples);
        const signed char more =
            fill_buffer(voice1, track1, voice2, track2,
                        samples.data() + samples.size() - block_samples, block_bytes);
        if (!more) {
            return samples;
        }
    }
}

int song_samples() {
    return std::max(track_samples(track1), track_samples(track2));
}
