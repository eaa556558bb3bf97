#include "audio_file.hpp"

#include "renderer.hpp"

#include <algorithm>
#include <bit>
#include <cctype>
#include <optional>
#include <sndfile.h>
#include <unistd.h>

namespace {

struct Format {
    const char* extension;
    int sndfile_format;
};

constexpr Format FORMATS[] = {
    {".wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16},
    {".flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
    {".ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS},
};

std::optional<int> format_for(const std::string& path) {
    std::string lower = path;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const Format& format : FORMATS) {
        if (lower.ends_with(format.extension)) {
            return format.sndfile_format;
        }
    }
    return std::nullopt;
}

} // namespace

Failure write_audio_file(const std::string& path, std::span<const std::int16_t> samples) {
    const std::optional<int> format = format_for(path);
    if (!format) {
        return "cannot tell the format of '" + path + "': name it .wav, .flac or .ogg";
    }
    return replace_file(path, [&](int fd) -> Failure {
        SF_INFO info{};
        info.samplerate = SAMPLE_RATE;
        info.channels = 1;
        info.format = *format;
        SNDFILE* file = sf_open_fd(fd, SFM_WRITE, &info, SF_FALSE);
        if (file == nullptr) {
            return "cannot write '" + path + "': " + sf_strerror(nullptr);
        }
        const auto count = static_cast<sf_count_t>(samples.size());
        const bool written = sf_write_short(file, samples.data(), count) == count;
        const std::string error = sf_strerror(file);
        if (sf_close(file) != 0 || !written) {
            return "cannot write '" + path + "': " + error;
        }
        return std::nullopt;
    });
}

Failure write_raw_to_stdout(std::span<const std::int16_t> samples) {
    static_assert(std::endian::native == std::endian::little, "raw output is little-endian");
    if (Failure failure = write_all(STDOUT_FILENO, samples.data(), samples.size_bytes())) {
        return "cannot write to standard output: " + *failure;
    }
    return std::nullopt;
}
