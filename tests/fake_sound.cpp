#include "fake_sound.hpp"

#include <cstdio>
#include <string>
#include <vector>

struct SoundStream {
    SoundStreamCallback callback;
    int length;
    void* user_data;
};

namespace {

FakeSound state;
SoundStream stream;
std::vector<unsigned char> buffer;
bool playing = false;
const char* failure = nullptr;

std::string stream_name(const SoundStream* s) {
    return s == &stream ? "stream" : "?";
}

} // namespace

FakeSound& fake_sound() {
    return state;
}

void reset_fake_sound() {
    state = FakeSound{};
    playing = false;
    failure = nullptr;
}

signed char FSOUND_Init(int mix_rate, int max_software_channels, unsigned flags) {
    state.calls.push_back("FSOUND_Init(" + std::to_string(mix_rate) + ", " +
                          std::to_string(max_software_channels) + ", " + std::to_string(flags) +
                          ")");
    if (state.failure == FakeSound::Failure::init) {
        failure = "no sound card (fake)";
        return 0;
    }
    return 1;
}

SoundStream* FSOUND_Stream_Create(SoundStreamCallback callback, int length, unsigned mode,
                                  int sample_rate, void* user_data) {
    char mode_text[16];
    std::snprintf(mode_text, sizeof mode_text, "0x%x", mode);
    state.calls.push_back("FSOUND_Stream_Create(callback, " + std::to_string(length) + ", " +
                          mode_text + ", " + std::to_string(sample_rate) + ", " +
                          (user_data == nullptr ? "null" : "user data") + ")");
    if (state.failure == FakeSound::Failure::create) {
        failure = "out of streams (fake)";
        return nullptr;
    }
    stream = SoundStream{callback, length, user_data};
    state.callback = callback;
    state.stream = &stream;
    buffer.assign(static_cast<std::size_t>(length), 0);
    return &stream;
}

int FSOUND_Stream_Play(int channel, SoundStream* s) {
    state.calls.push_back("FSOUND_Stream_Play(" + std::to_string(channel) + ", " + stream_name(s) +
                          ")");
    if (state.failure == FakeSound::Failure::play) {
        failure = "cannot open the sound device (fake)";
        return -1;
    }
    playing = true;
    return state.channel;
}

signed char FSOUND_IsPlaying(int channel) {
    state.calls.push_back("FSOUND_IsPlaying(" + std::to_string(channel) + ")");
    if (!playing || channel != state.channel) {
        return 0;
    }
    if (state.failure == FakeSound::Failure::playback &&
        state.blocks_pulled == state.blocks_before_breaking) {
        failure = "the sound server went away (fake)";
        playing = false;
        return 0;
    }
    if (state.callback_ended) {
        playing = false; // the block that ended the stream has been played
        return 0;
    }
    ++state.blocks_pulled;
    state.callback_ended =
        stream.callback(&stream, buffer.data(), stream.length, stream.user_data) == 0;
    return 1;
}

signed char FSOUND_Stream_Stop(SoundStream* s) {
    state.calls.push_back("FSOUND_Stream_Stop(" + stream_name(s) + ")");
    playing = false;
    return 1;
}

signed char FSOUND_Stream_Close(SoundStream* s) {
    state.calls.push_back("FSOUND_Stream_Close(" + stream_name(s) + ")");
    return 1;
}

void FSOUND_Close() {
    state.calls.push_back("FSOUND_Close()");
}

const char* sound_failure() {
    return failure;
}
