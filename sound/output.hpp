// One platform's sound output, as the stream engine uses it. Each platform provides these four
// functions in a file of its own. All of them run on the stream's playback thread except
// output_open, and none of them may block for long: each waits in short steps, gives up when
// `stop` is raised, and reports a device that makes no progress for OUTPUT_STALL_LIMIT.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>

struct SoundOutput;

inline constexpr auto OUTPUT_STALL_LIMIT = std::chrono::seconds(5);

// A failure's text, kept in place so that reporting one allocates nothing.
struct OutputError {
    char text[256] = "";
};

// Opens the default device for 16-bit signed mono at `sample_rate`, for writes of up to
// `block_frames` samples at a time. Null on failure.
SoundOutput* output_open(int sample_rate, int block_frames, OutputError& error);

// Queues all `frames` samples, waiting for room as needed. False on failure; returns early (true)
// if `stop` is raised.
bool output_write(SoundOutput* output, const std::int16_t* samples, int frames,
                  const std::atomic<bool>& stop, OutputError& error);

// Waits until every queued sample has been played. False on failure.
bool output_drain(SoundOutput* output, const std::atomic<bool>& stop, OutputError& error);

// Drops whatever has not been played and closes the device.
void output_close(SoundOutput* output);
