// Sound output on Windows: WinMM's waveOut, the system's own API.
//
// Blocks are copied into a few prepared headers and queued in turn. The device signals an event
// whenever it has played one (CALLBACK_EVENT), so no code of ours runs on the device's thread and
// no wave function is ever called from a callback. Waits are short, so that a stop or a device
// that stops playing is noticed instead of waited on forever.
#include <windows.h>
// clang-format off
#include <mmsystem.h>
// clang-format on

#include "output.hpp"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int HEADER_COUNT = 3; // three quarter-second blocks queued ahead
constexpr DWORD WAIT_MILLISECONDS = 250;

} // namespace

struct SoundOutput {
    HWAVEOUT device = nullptr;
    HANDLE block_played = nullptr; // signalled by the device whenever a header is done
    std::array<WAVEHDR, HEADER_COUNT> headers{};
    std::array<bool, HEADER_COUNT> queued{};
    std::vector<std::int16_t> samples; // HEADER_COUNT blocks, one after the other
    int next = 0;                      // the header to fill next: the one queued longest ago
    // A device that stopped playing is not reset or closed, which could wait on it; it is left
    // for the process's end instead.
    bool unresponsive = false;
};

namespace {

void describe(OutputError& error, const char* what, MMRESULT result) {
    char text[MAXERRORLENGTH] = "";
    waveOutGetErrorTextA(result, text, sizeof text);
    std::snprintf(error.text, sizeof error.text, "%s: %s", what, text);
}

// The device sets WHDR_DONE from its own thread.
bool is_done(const WAVEHDR& header) {
    return (static_cast<const volatile WAVEHDR&>(header).dwFlags & WHDR_DONE) != 0;
}

// Waits until header `index` has been played, if it was queued.
bool wait_until_played(SoundOutput* output, int index, const std::atomic<bool>& stop,
                       OutputError& error) {
    const auto started = Clock::now();
    while (output->queued[index] && !is_done(output->headers[index])) {
        if (stop) {
            return true;
        }
        if (Clock::now() - started >= OUTPUT_STALL_LIMIT) {
            output->unresponsive = true;
            std::snprintf(error.text, sizeof error.text,
                          "the sound device made no progress for %lld seconds",
                          static_cast<long long>(OUTPUT_STALL_LIMIT.count()));
            return false;
        }
        WaitForSingleObject(output->block_played, WAIT_MILLISECONDS);
    }
    output->queued[index] = false;
    return true;
}

} // namespace

SoundOutput* output_open(int sample_rate, int block_frames, OutputError& error) {
    auto* output = new SoundOutput;
    output->block_played = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 1;
    format.nSamplesPerSec = static_cast<DWORD>(sample_rate);
    format.wBitsPerSample = 16;
    format.nBlockAlign = 2;
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    const MMRESULT result =
        output->block_played == nullptr
            ? MMSYSERR_NOMEM
            : waveOutOpen(&output->device, WAVE_MAPPER, &format,
                          reinterpret_cast<DWORD_PTR>(output->block_played), 0, CALLBACK_EVENT);
    if (result != MMSYSERR_NOERROR) {
        describe(error, "cannot open the sound device", result);
        if (output->block_played != nullptr) {
            CloseHandle(output->block_played);
        }
        delete output;
        return nullptr;
    }
    output->samples.resize(static_cast<std::size_t>(block_frames) * HEADER_COUNT);
    for (int i = 0; i < HEADER_COUNT; ++i) {
        WAVEHDR& header = output->headers[i];
        header.lpData = reinterpret_cast<LPSTR>(output->samples.data() + i * block_frames);
        header.dwBufferLength = static_cast<DWORD>(block_frames) * 2;
        waveOutPrepareHeader(output->device, &header, sizeof header);
    }
    return output;
}

bool output_write(SoundOutput* output, const std::int16_t* samples, int frames,
                  const std::atomic<bool>& stop, OutputError& error) {
    const int index = output->next;
    if (!wait_until_played(output, index, stop, error) || stop) {
        return !output->unresponsive;
    }
    WAVEHDR& header = output->headers[index];
    std::memcpy(header.lpData, samples, static_cast<std::size_t>(frames) * 2);
    header.dwBufferLength = static_cast<DWORD>(frames) * 2;
    const MMRESULT result = waveOutWrite(output->device, &header, sizeof header);
    if (result != MMSYSERR_NOERROR) {
        describe(error, "the sound device failed", result);
        return false;
    }
    output->queued[index] = true;
    output->next = (index + 1) % HEADER_COUNT;
    return true;
}

bool output_drain(SoundOutput* output, const std::atomic<bool>& stop, OutputError& error) {
    // Headers are played in the order they were queued, from the next one to fill on.
    for (int i = 0; i < HEADER_COUNT; ++i) {
        if (!wait_until_played(output, (output->next + i) % HEADER_COUNT, stop, error)) {
            return false;
        }
    }
    return true;
}

void output_close(SoundOutput* output) {
    if (!output->unresponsive) {
        // Stopped before the end: whatever is still queued is dropped, and every header is done.
        waveOutReset(output->device);
        for (WAVEHDR& header : output->headers) {
            waveOutUnprepareHeader(output->device, &header, sizeof header);
        }
        waveOutClose(output->device);
        CloseHandle(output->block_played);
    }
    delete output;
}
