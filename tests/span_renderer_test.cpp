// The span renderer against the per-sample loop that defines every sample.
#include "renderer.hpp"
#include "song.hpp"

#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace {

using Renderer = void (*)(Voice&, Track, Voice&, Track, std::int16_t*, int);

// Renders two tracks from fresh voices in calls of next_length() samples.
template <typename NextLength>
std::vector<std::int16_t> render(Renderer renderer, Track track1, Track track2, int total,
                                 NextLength next_length) {
    Voice voice1;
    Voice voice2;
    std::vector<std::int16_t> samples(static_cast<std::size_t>(total));
    for (int done = 0; done < total;) {
        const int length = std::min(next_length(), total - done);
        renderer(voice1, track1, voice2, track2, samples.data() + done, length);
        done += std::max(length, 0);
    }
    return samples;
}

std::vector<std::int16_t> render(Renderer renderer, Track track1, Track track2, int total,
                                 int block) {
    return render(renderer, track1, track2, total, [block] { return block; });
}

constexpr int SONG_AND_SOME = 1278115 + 20000;

TEST(SpanRenderer, RendersTheSongExactlyAsThePerSampleLoop) {
    const std::vector<std::int16_t> reference =
        render(render_samples, track1, track2, SONG_AND_SOME, SONG_AND_SOME);
    for (const int block : {11025, 1, 7, 535}) {
        SCOPED_TRACE(block);
        EXPECT_TRUE(render(render_spans, track1, track2, SONG_AND_SOME, block) == reference);
    }
    std::mt19937 random(44100);
    std::uniform_int_distribution<int> length(-2, 20000);
    EXPECT_TRUE(render(render_spans, track1, track2, SONG_AND_SOME,
                       [&] { return length(random); }) == reference);
}

TEST(SpanRenderer, RendersEveryPitchExactlyAsThePerSampleLoop) {
    constexpr int ticks = 300;
    const NoteEvent end{TRACK_END, 0};
    for (int note = 1; note < NOTE_COUNT; ++note) {
        SCOPED_TRACE(note);
        const auto index = static_cast<std::uint8_t>(note);
        // Against itself a few ticks later, so that both voices' turns interleave.
        const NoteEvent voice1[] = {{index, 255}, {index, 45}, end};
        const NoteEvent voice2[] = {{REST, 3}, {index, 255}, {index, 42}, end};
        const int total = ticks * TICK_SAMPLES;
        EXPECT_TRUE(render(render_spans, voice1, voice2, total, 11025) ==
                    render(render_samples, voice1, voice2, total, total));
    }
}

TEST(SpanRenderer, HandlesEmptyOneTickAndLongestEvents) {
    const NoteEvent end{TRACK_END, 0};
    const NoteEvent voice1[] = {{70, 0}, {70, 1}, {REST, 0}, {110, 255}, {70, 0}, end};
    const NoteEvent voice2[] = {{144, 1}, {1, 0}, {58, 255}, {REST, 255}, end};
    const int total = 3 * 255 * TICK_SAMPLES;
    const std::vector<std::int16_t> reference =
        render(render_samples, voice1, voice2, total, total);
    for (const int block : {1, 2, 3, 535, 11025, total}) {
        SCOPED_TRACE(block);
        EXPECT_TRUE(render(render_spans, voice1, voice2, total, block) == reference);
    }
}

} // namespace
