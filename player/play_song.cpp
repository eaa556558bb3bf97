#include "play_song.hpp"

#include "fill_stream.hpp"
#include "renderer.hpp"
#include "sound.hpp"

#include <cstdio>

SoundStream* song_stream = nullptr;

namespace {

constexpr int MAX_SOFTWARE_CHANNELS = 2;
constexpr unsigned INIT_FLAGS = 2;
constexpr unsigned STREAM_MODE = SOUND_16BIT | SOUND_MONO | SOUND_SIGNED;

int report(const char* what) {
    const char* why = sound_failure();
    std::fprintf(stderr, "square-song: %s: %s\n", what, why != nullptr ? why : "unknown error");
    return 1;
}

} // namespace

int play_song(int /*argc*/, char** /*argv*/, char** /*envp*/) {
    if (!FSOUND_Init(SAMPLE_RATE, MAX_SOFTWARE_CHANNELS, INIT_FLAGS)) {
        return report("cannot start sound output");
    }
    song_stream =
        FSOUND_Stream_Create(fill_stream, STREAM_BUFFER_BYTES, STREAM_MODE, SAMPLE_RATE, nullptr);
    if (song_stream == nullptr) {
        FSOUND_Close();
        return report("cannot create the song's stream");
    }
    const int channel = FSOUND_Stream_Play(SOUND_ANY_FREE_CHANNEL, song_stream);
    if (channel < 0) {
        FSOUND_Stream_Close(song_stream);
        FSOUND_Close();
        return report("cannot start playback");
    }

    while (FSOUND_IsPlaying(channel)) {
    }

    FSOUND_Stream_Stop(song_stream);
    FSOUND_Stream_Close(song_stream);
    FSOUND_Close();
    // Playback ends early only when the device failed; the layer remembers why.
    return sound_failure() != nullptr ? report("playback stopped before the end of the song") : 0;
}
