// The stream callback plays the built-in song once, in the blocks the sound layer asks for.
#include "fill_stream.hpp"
#include "song_render.hpp"

#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr std::int16_t SILENT = -32767;
constexpr int BLOCK_SAMPLES = STREAM_BUFFER_BYTES / 2;

TEST(FillStream, PlaysTheSongOnceAndThenStaysSilent) {
    const std::vector<std::int16_t> expected = render_song_in_blocks();
    std::vector<std::int16_t> block(BLOCK_SAMPLES);

    // Sample 1278115, where both voices end, falls in block 116.
    for (int call = 1; call <= 116; ++call) {
        const signed char more = fill_stream(nullptr, block.data(), STREAM_BUFFER_BYTES, nullptr);
        ASSERT_EQ(more, call < 116 ? -1 : 0) << "call " << call;
        const auto first = expected.begin() + (call - 1) * BLOCK_SAMPLES;
        ASSERT_TRUE(std::equal(block.begin(), block.end(), first)) << "call " << call;
    }
    for (int i = SONG_SAMPLES - 115 * BLOCK_SAMPLES; i < BLOCK_SAMPLES; ++i) {
        ASSERT_EQ(block[i], SILENT);
    }

    for (int call = 0; call < 3; ++call) {
        block.assign(BLOCK_SAMPLES, 0);
        EXPECT_EQ(fill_stream(nullptr, block.data(), STREAM_BUFFER_BYTES, nullptr), 0);
        EXPECT_EQ(std::count(block.begin(), block.end(), SILENT), BLOCK_SAMPLES);
    }
}

} // namespace
