// A recording stand-in for the sound layer, linked in place of the real one. Its "playback" runs
// on the polling thread: each FSOUND_IsPlaying call pulls one block from the stream's callback.
#pragma once

#include "sound.hpp"

#include <string>
#include <vector>

struct FakeSound {
    enum class Failure { none, init, create, play, playback };

    Failure failure = Failure::none;
    int channel = 3;                 // what FSOUND_Stream_Play hands out
    int blocks_before_breaking = 10; // for Failure::playback

    std::vector<std::string> calls; // every call with its arguments, in order
    int blocks_pulled = 0;
    bool callback_ended = false; // the callback has returned 0
    SoundStreamCallback callback = nullptr;
    SoundStream* stream = nullptr; // the handle FSOUND_Stream_Create handed out
};

// The fake's state, fresh for each test.
FakeSound& fake_sound();
void reset_fake_sound();
