#include "fill_stream.hpp"

#include "renderer.hpp"
#include "song.hpp"

#include <bit>

static_assert(std::endian::native == std::endian::little, "samples are written little-endian");

namespace {

// The song's two voices; the song plays once per process and is never rewound.
Voice song_voice1;
Voice song_voice2;

} // namespace

signed char fill_stream(SoundStream* /*stream*/, void* buffer, int length, void* /*user_data*/) {
    return fill_buffer(song_voice1, track1, song_voice2, track2, buffer, length);
}
