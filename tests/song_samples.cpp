// Writes to stdout what the sound device must receive for the whole song: the callback's 116
// blocks, raw 16-bit little-endian mono. The end-to-end tests compare captures against it.
#include "song_render.hpp"

#include <cstdio>

int main() {
    const std::vector<std::int16_t> samples = render_song_in_blocks();
    const std::size_t written =
        std::fwrite(samples.data(), sizeof samples[0], samples.size(), stdout);
    return written == samples.size() && std::fflush(stdout) == 0 ? 0 : 1;
}
