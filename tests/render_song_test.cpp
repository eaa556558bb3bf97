// render-song, run as a user runs it: what it writes, and how it fails.
#include "song_render.hpp"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sndfile.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Outcome {
    int status;
    std::string stdout_text;
    std::string stderr_text;
};

std::string read_file(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class RenderSong : public testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("render-song-test-" + std::to_string(::getpid()) + "-" +
                testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs render-song with `arguments` (already quoted for the shell) in the scratch directory.
    // `shell_setup` runs first, in the same shell.
    Outcome run(const std::string& arguments, const std::string& stdout_to = "",
                const std::string& shell_setup = "true") {
        const fs::path out = stdout_to.empty() ? dir_ / "stdout" : fs::path(stdout_to);
        const std::string command = "cd '" + dir_.string() + "' && " + shell_setup + " && '" +
                                    RENDER_SONG "' " + arguments + " >'" + out.string() +
                                    "' 2>stderr";
        const int status = std::system(command.c_str());
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1,
                stdout_to.empty() ? read_file(out) : "", read_file(dir_ / "stderr")};
    }

    std::vector<std::int16_t> read_back(const std::string& name, SF_INFO& info) {
        SNDFILE* file = sf_open((dir_ / name).c_str(), SFM_READ, &info);
        EXPECT_NE(file, nullptr) << sf_strerror(nullptr);
        if (file == nullptr) {
            return {};
        }
        std::vector<std::int16_t> samples(static_cast<std::size_t>(info.frames));
        sf_read_short(file, samples.data(), info.frames);
        sf_close(file);
        return samples;
    }

    fs::path dir_;
};

std::vector<std::int16_t> the_song() {
    std::vector<std::int16_t> samples = render_song_in_blocks();
    samples.resize(SONG_SAMPLES);
    return samples;
}

TEST_F(RenderSong, LosslessFilesHoldExactlyTheSongsSamples) {
    const std::vector<std::int16_t> song = the_song();
    for (const char* name : {"song.wav", "SONG.FLAC"}) {
        SCOPED_TRACE(name);
        const Outcome outcome = run(name);
        EXPECT_EQ(outcome.status, 0);
        EXPECT_EQ(outcome.stdout_text + outcome.stderr_text, "") << "quiet on success";
        SF_INFO info{};
        EXPECT_TRUE(read_back(name, info) == song);
        EXPECT_EQ(info.samplerate, 44100);
        EXPECT_EQ(info.channels, 1);
    }
}

TEST_F(RenderSong, OggHoldsTheSongsLength) {
    ASSERT_EQ(run("song.ogg").status, 0);
    SF_INFO info{};
    read_back("song.ogg", info);
    EXPECT_EQ(info.format & SF_FORMAT_TYPEMASK, SF_FORMAT_OGG);
    EXPECT_EQ(info.frames, SONG_SAMPLES);
}

TEST_F(RenderSong, RawStreamIsTheSongsBytes) {
    const Outcome outcome = run("-");
    EXPECT_EQ(outcome.status, 0);
    const std::vector<std::int16_t> song = the_song();
    ASSERT_EQ(outcome.stdout_text.size(), song.size() * 2);
    EXPECT_EQ(std::memcmp(outcome.stdout_text.data(), song.data(), song.size() * 2), 0);
}

TEST_F(RenderSong, PianoRollIsXmlWithOneShapePerSoundingNote) {
    ASSERT_EQ(run("--piano-roll roll.svg").status, 0);
    auto sounding_notes = [](Track track) {
        int notes = 0;
        for (; track->note != TRACK_END; ++track) {
            notes += track->note != REST;
        }
        return notes;
    };
    const std::string check = "python3 '" CHECK_PIANO_ROLL "' '" + (dir_ / "roll.svg").string() +
                              "' " + std::to_string(sounding_notes(track1)) + " " +
                              std::to_string(sounding_notes(track2));
    EXPECT_EQ(std::system(check.c_str()), 0);
}

struct ErrorCase {
    const char* arguments;
    int status;
    const char* message_start;
};

TEST_F(RenderSong, EachErrorGivesItsStatusAndOneLine) {
    fs::create_directory(dir_ / "a-directory");
    std::ofstream(dir_ / "existing.wav") << "untouched";
    for (const ErrorCase& c : {
             ErrorCase{"", 2, "render-song: name a file to write"},
             ErrorCase{"--loud song.wav", 2, "render-song: unknown option '--loud'"},
             ErrorCase{"--piano-roll", 2, "render-song: --piano-roll needs a file name"},
             ErrorCase{"one.wav two.wav", 2, "render-song: one audio file at a time"},
             ErrorCase{"song.mp3", 1, "render-song: cannot tell the format of 'song.mp3'"},
             ErrorCase{"no-such-dir/song.wav", 1, "render-song: cannot write 'no-such-dir/"},
             ErrorCase{"a-directory", 1, "render-song: cannot tell the format"},
             ErrorCase{"--piano-roll no-such-dir/roll.svg", 1, "render-song: cannot write"},
         }) {
        SCOPED_TRACE(c.arguments);
        const Outcome outcome = run(c.arguments);
        EXPECT_EQ(outcome.status, c.status);
        EXPECT_EQ(outcome.stderr_text.rfind(c.message_start, 0), 0u) << outcome.stderr_text;
        EXPECT_EQ(std::count(outcome.stderr_text.begin(), outcome.stderr_text.end(), '\n'), 1);
    }
    EXPECT_EQ(read_file(dir_ / "existing.wav"), "untouched");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 4)
        << "no half-written files left behind";
}

TEST_F(RenderSong, AWriteThatFailsHalfwayLeavesNoFileBehind) {
    // Files may grow only a few KiB; past that a write fails (its signal ignored).
    for (const char* name : {"song.wav", "song.flac", "--piano-roll roll.svg"}) {
        SCOPED_TRACE(name);
        const Outcome outcome = run(name, "", "trap '' XFSZ && ulimit -f 16");
        EXPECT_EQ(outcome.status, 1);
        EXPECT_EQ(outcome.stderr_text.rfind("render-song: cannot write '", 0), 0u)
            << outcome.stderr_text;
        EXPECT_EQ(std::count(outcome.stderr_text.begin(), outcome.stderr_text.end(), '\n'), 1);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 2)
            << "only the test's own stdout and stderr";
    }
}

TEST_F(RenderSong, AFailedWriteToStdoutIsReported) {
    const Outcome outcome = run("-", "/dev/full");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.stderr_text,
              "render-song: cannot write to standard output: No space left on device\n");
}

TEST_F(RenderSong, HelpAndVersion) {
    const Outcome help = run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.stdout_text.find("usage: render-song"), std::string::npos);
    const Outcome version = run("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.stdout_text.rfind("render-song ", 0), 0u);
}

} // namespace
