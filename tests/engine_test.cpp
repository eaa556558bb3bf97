// The stream engine against a scripted output: blocks, end of stream, failures, stopping.
#include "fake_output.hpp"
#include "sound.hpp"

#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr unsigned MODE = SOUND_16BIT | SOUND_MONO | SOUND_SIGNED;
constexpr int RATE = 44100;
constexpr int BLOCK_BYTES = 10; // five samples

// A callback that counts samples 1, 2, 3, ... and ends the stream after `blocks` blocks (never,
// if that is 0). It is called on the playback thread, so the counters are atomic.
struct Counter {
    int blocks = 3;
    std::atomic<int> calls{0};
    std::atomic<std::int16_t> next{1};
};

signed char count_up(SoundStream* /*stream*/, void* buffer, int length, void* user_data) {
    auto& counter = *static_cast<Counter*>(user_data);
    auto* samples = static_cast<std::int16_t*>(buffer);
    for (int i = 0; i < length / 2; ++i) {
        samples[i] = counter.next++;
    }
    const int call = ++counter.calls;
    return counter.blocks != 0 && call >= counter.blocks ? 0 : 1;
}

std::vector<std::string> output_events() {
    const std::lock_guard lock(fake_output().mutex);
    return fake_output().events;
}

std::string failure() {
    const char* text = sound_failure();
    return text != nullptr ? text : "";
}

class Engine : public testing::Test {
  protected:
    void SetUp() override {
        reset_fake_output();
        ASSERT_TRUE(FSOUND_Init(RATE, 2, 0));
    }
    void TearDown() override { FSOUND_Close(); }

    Counter counter;
};

TEST_F(Engine, PlaysEveryBlockWholeThenDrainsBeforeItStopsPlaying) {
    fake_output().drain_released = false;
    SoundStream* stream = FSOUND_Stream_Create(count_up, BLOCK_BYTES, MODE, RATE, &counter);
    ASSERT_NE(stream, nullptr);
    const int channel = FSOUND_Stream_Play(SOUND_ANY_FREE_CHANNEL, stream);
    ASSERT_EQ(channel, 0);

    // Still playing while the device holds the last block.
    while (output_events().size() < 5) {
        ASSERT_TRUE(FSOUND_IsPlaying(channel));
    }
    EXPECT_TRUE(FSOUND_IsPlaying(channel));
    {
        const std::lock_guard lock(fake_output().mutex);
        fake_output().drain_released = true;
    }
    while (FSOUND_IsPlaying(channel)) {
    }

    EXPECT_EQ(output_events(), (std::vector<std::string>{"open", "write 5", "write 5", "write 5",
                                                         "drain", "drained"}));
    std::vector<std::int16_t> expected(15);
    for (int i = 0; i < 15; ++i) {
        expected[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(i + 1);
    }
    EXPECT_EQ(fake_output().samples, expected) << "nothing cut, nothing added";
    EXPECT_EQ(counter.calls, 3);
    EXPECT_TRUE(FSOUND_Stream_Stop(stream));
    EXPECT_TRUE(FSOUND_Stream_Close(stream));
    EXPECT_EQ(output_events().back(), "close");
    EXPECT_EQ(failure(), "");
}

TEST_F(Engine, StopEndsPlaybackAndNoCallbackRunsAfterClose) {
    counter.blocks = 0; // never ends by itself
    SoundStream* stream = FSOUND_Stream_Create(count_up, BLOCK_BYTES, MODE, RATE, &counter);
    const int channel = FSOUND_Stream_Play(SOUND_ANY_FREE_CHANNEL, stream);
    while (counter.calls < 10) {
        ASSERT_TRUE(FSOUND_IsPlaying(channel));
    }
    EXPECT_TRUE(FSOUND_Stream_Stop(stream));
    const int calls = counter.calls;
    EXPECT_FALSE(FSOUND_IsPlaying(channel));
    EXPECT_TRUE(FSOUND_Stream_Close(stream));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(counter.calls, calls);
    EXPECT_EQ(output_events().back(), "close");
    EXPECT_EQ(failure(), "") << "stopping is not a failure";
}

TEST_F(Engine, ADeviceThatBreaksOffEndsTheStreamAndSaysWhy) {
    fake_output().writes_before_failing = 2;
    SoundStream* stream = FSOUND_Stream_Create(count_up, BLOCK_BYTES, MODE, RATE, &counter);
    counter.blocks = 0;
    const int channel = FSOUND_Stream_Play(SOUND_ANY_FREE_CHANNEL, stream);
    while (FSOUND_IsPlaying(channel)) {
    }
    EXPECT_EQ(failure(), "the fake device went away");
    EXPECT_TRUE(FSOUND_Stream_Close(stream));
}

TEST_F(Engine, ADeviceThatCannotOpenFailsThePlayCall) {
    fake_output().open_failure = "no such device";
    SoundStream* stream = FSOUND_Stream_Create(count_up, BLOCK_BYTES, MODE, RATE, &counter);
    EXPECT_EQ(FSOUND_Stream_Play(SOUND_ANY_FREE_CHANNEL, stream), -1);
    EXPECT_EQ(failure(), "no such device");
    EXPECT_EQ(counter.calls, 0);
}

TEST_F(Engine, CreateRefusesWhatItCannotPlay) {
    struct Case {
        unsigned mode;
        int rate;
        int length;
        const char* failure;
    };
    for (const Case c : {
             Case{SOUND_16BIT | SOUND_SIGNED, RATE, BLOCK_BYTES,
                  "cannot play stream mode 0x110, only 16-bit signed mono (0x130)"},
             Case{SOUND_MONO | SOUND_SIGNED, RATE, BLOCK_BYTES,
                  "cannot play stream mode 0x120, only 16-bit signed mono (0x130)"},
             Case{MODE | 0x40, RATE, BLOCK_BYTES,
                  "cannot play stream mode 0x170, only 16-bit signed mono (0x130)"},
             Case{MODE, 22050, BLOCK_BYTES,
                  "cannot play a stream at 22050 Hz when mixing at 44100 Hz"},
             Case{MODE, RATE, 1, "a stream needs a callback and blocks of at least one sample"},
         }) {
        SCOPED_TRACE(c.failure);
        FSOUND_Close(); // each case starts afresh, so the failure is its own
        ASSERT_TRUE(FSOUND_Init(RATE, 2, 0));
        EXPECT_EQ(FSOUND_Stream_Create(count_up, c.length, c.mode, c.rate, &counter), nullptr);
        EXPECT_EQ(failure(), c.failure);
    }
}

TEST(EngineLifecycle, NothingWorksBeforeInitAndInitRefusesWhatItCannotDo) {
    Counter counter;
    EXPECT_EQ(FSOUND_Stream_Create(count_up, BLOCK_BYTES, MODE, RATE, &counter), nullptr);
    EXPECT_FALSE(FSOUND_IsPlaying(0));
    EXPECT_FALSE(FSOUND_Init(1000, 2, 0));
    EXPECT_EQ(failure(), "cannot mix at 1000 Hz");
    EXPECT_FALSE(FSOUND_Init(RATE, 0, 0));
    EXPECT_EQ(failure(), "cannot offer 0 channels");
}

} // namespace
