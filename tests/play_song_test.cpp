// play_song against a recording fake of the sound layer: what it calls, in which order, and what
// it says and returns when sound output fails.
#include "fake_sound.hpp"
#include "fill_stream.hpp"
#include "play_song.hpp"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

const std::string INIT = "FSOUND_Init(44100, 2, 2)";
const std::string CREATE = "FSOUND_Stream_Create(callback, 22050, 0x130, 44100, null)";
const std::string PLAY = "FSOUND_Stream_Play(-1, stream)";
const std::string POLL = "FSOUND_IsPlaying(3)";
const std::string STOP = "FSOUND_Stream_Stop(stream)";
const std::string CLOSE_STREAM = "FSOUND_Stream_Close(stream)";
const std::string CLOSE = "FSOUND_Close()";

struct Outcome {
    int status;
    std::string stderr_text;
};

Outcome run_play_song(int argc, char** argv) {
    char* envp[] = {nullptr};
    testing::internal::CaptureStderr();
    const int status = play_song(argc, argv, envp);
    return Outcome{status, testing::internal::GetCapturedStderr()};
}

// The calls with each run of polls folded into one entry.
std::vector<std::string> calls_without_repeated_polls() {
    std::vector<std::string> calls;
    for (const std::string& call : fake_sound().calls) {
        if (call != POLL || calls.empty() || calls.back() != POLL) {
            calls.push_back(call);
        }
    }
    return calls;
}

long polls() {
    return std::count(fake_sound().calls.begin(), fake_sound().calls.end(), POLL);
}

class PlaySong : public testing::Test {
  protected:
    void SetUp() override {
        reset_fake_sound();
        song_stream = nullptr;
    }
};

TEST_F(PlaySong, PlaysTheSongToItsEndAndTearsDownOnceInOrder) {
    char program[] = "square-song";
    char extra1[] = "--help";
    char extra2[] = "song.mid";
    char* with_arguments[] = {program, extra1, extra2, nullptr};
    char* without_arguments[] = {program, nullptr};

    for (auto [argc, argv] : {std::pair{1, without_arguments}, std::pair{3, with_arguments}}) {
        SCOPED_TRACE(argc);
        reset_fake_sound();
        const Outcome run = run_play_song(argc, argv);

        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.stderr_text, "");
        EXPECT_EQ(calls_without_repeated_polls(),
                  (std::vector<std::string>{INIT, CREATE, PLAY, POLL, STOP, CLOSE_STREAM, CLOSE}));
        EXPECT_EQ(fake_sound().callback, &fill_stream);
        EXPECT_EQ(song_stream, fake_sound().stream);
        // Polled without pause until the layer said the stream had ended, which it does only
        // after the callback has returned 0.
        EXPECT_TRUE(fake_sound().callback_ended);
        EXPECT_EQ(polls(), fake_sound().blocks_pulled + 1);
    }
}

TEST_F(PlaySong, PullsTheWholeSongInQuarterSecondBlocks) {
    run_play_song(0, nullptr);
    EXPECT_EQ(fake_sound().blocks_pulled, 116) << "the song ends in block 116";
}

struct FailureCase {
    const char* name;
    FakeSound::Failure failure;
    std::vector<std::string> calls;
    const char* line;
};

void PrintTo(const FailureCase& c, std::ostream* out) {
    *out << c.name;
}

class PlaySongFailure : public PlaySong, public testing::WithParamInterface<FailureCase> {};

TEST_P(PlaySongFailure, TearsDownWhatItBroughtUpSaysWhyAndExitsWithOne) {
    const FailureCase& c = GetParam();
    fake_sound().failure = c.failure;
    const Outcome run = run_play_song(0, nullptr);

    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.stderr_text, std::string(c.line) + "\n");
    EXPECT_EQ(calls_without_repeated_polls(), c.calls);
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, PlaySongFailure,
    testing::Values(
        FailureCase{"Init",
                    FakeSound::Failure::init,
                    {INIT},
                    "square-song: cannot start sound output: no sound card (fake)"},
        FailureCase{"Create",
                    FakeSound::Failure::create,
                    {INIT, CREATE, CLOSE},
                    "square-song: cannot create the song's stream: out of streams (fake)"},
        FailureCase{"Play",
                    FakeSound::Failure::play,
                    {INIT, CREATE, PLAY, CLOSE_STREAM, CLOSE},
                    "square-song: cannot start playback: cannot open the sound device (fake)"},
        FailureCase{"Playback",
                    FakeSound::Failure::playback,
                    {INIT, CREATE, PLAY, POLL, STOP, CLOSE_STREAM, CLOSE},
                    "square-song: playback stopped before the end of the song: the sound server "
                    "went away (fake)"}),
    [](const testing::TestParamInfo<FailureCase>& info) { return info.param.name; });

} // namespace
