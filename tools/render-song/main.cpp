// render-song: writes the built-in song to an audio file, to standard output, or as a picture.
#include "audio_file.hpp"
#include "fill_stream.hpp"
#include "piano_roll.hpp"
#include "replace_file.hpp"
#include "whole_song.hpp"

#include <cstdio>
#include <cstring>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int EXIT_FAILED = 1;
constexpr int EXIT_USAGE = 2;

constexpr const char* USAGE = R"(usage: render-song [--piano-roll PICTURE.svg] [FILE]

Renders the built-in song, sample for sample as the player plays it, and writes it to FILE:
  FILE.wav   16-bit PCM            FILE.flac  lossless
  FILE.ogg   Ogg Vorbis            -          raw signed 16-bit little-endian mono, 44100 Hz,
                                              to standard output
  --piano-roll PICTURE.svg   also (or only) draw both voices: time across, pitch up
  --help                     show this help
  --version                  show the version

Example: render-song - | aplay -f S16_LE -r 44100 -c 1
)";

struct Request {
    std::optional<std::string> audio;
    std::optional<std::string> picture;
};

int usage_error(const std::string& message) {
    std::fprintf(stderr, "render-song: %s (try 'render-song --help')\n", message.c_str());
    return EXIT_USAGE;
}

int failed(const std::string& message) {
    std::fprintf(stderr, "render-song: %s\n", message.c_str());
    return EXIT_FAILED;
}

Failure write_picture(const std::string& path) {
    const std::string svg = piano_roll_svg(track1, track2);
    return replace_file(path, [&](int fd) -> Failure {
        if (Failure failure = write_all(fd, svg.data(), svg.size())) {
            return "cannot write '" + path + "': " + *failure;
        }
        return std::nullopt;
    });
}

Failure write_audio(const std::string& path) {
    // The player's own blocks, without the silence that completes the last one.
    std::vector<std::int16_t> samples = render_song_blocks(STREAM_BUFFER_BYTES);
    samples.resize(static_cast<std::size_t>(song_samples()));
    return path == "-" ? write_raw_to_stdout(samples) : write_audio_file(path, samples);
}

} // namespace

int main(int argc, char** argv) {
    Request request;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help") {
            std::fputs(USAGE, stdout);
            return 0;
        }
        if (argument == "--version") {
            std::printf("render-song %s\n", SONG_VERSION);
            return 0;
        }
        if (argument == "--piano-roll") {
            if (i + 1 == argc) {
                return usage_error("--piano-roll needs a file name");
            }
            request.picture = argv[++i];
        } else if (argument.starts_with("-") && argument != "-") {
            return usage_error("unknown option '" + std::string(argument) + "'");
        } else if (request.audio) {
            return usage_error("one audio file at a time");
        } else {
            request.audio = std::string(argument);
        }
    }
    if (!request.audio && !request.picture) {
        return usage_error("name a file to write");
    }

    if (request.picture) {
        if (Failure failure = write_picture(*request.picture)) {
            return failed(*failure);
        }
    }
    if (request.audio) {
        if (Failure failure = write_audio(*request.audio)) {
            return failed(*failure);
        }
    }
    return 0;
}
