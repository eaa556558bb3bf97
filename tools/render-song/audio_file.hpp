// Audio files through libsndfile, in the format the file name's extension names.
#pragma once

#include "replace_file.hpp"

#include <cstdint>
#include <span>
#include <string>

// Writes 16-bit mono samples at 44100 Hz to `path`: .wav (16-bit PCM), .flac or .ogg (Vorbis).
// An unknown extension, or any failure, leaves no file behind.
Failure write_audio_file(const std::string& path, std::span<const std::int16_t> samples);

// Writes the samples as raw signed 16-bit little-endian mono to standard output.
Failure write_raw_to_stdout(std::span<const std::int16_t> samples);
