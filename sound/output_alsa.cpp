// Sound output on Linux: ALSA's "default" PCM, which desktops route to PipeWire or PulseAudio.
//
// The device is opened non-blocking and every wait is a short poll, so that a stopped stream or
// a device that stops responding (a frozen sound server) is noticed instead of waited on forever.
#include "output.hpp"

#include <algorithm>
#include <alsa/asoundlib.h>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>

struct SoundOutput {
    snd_pcm_t* pcm;
    // A device that stopped responding is not closed: closing waits on it (PulseAudio's plugin
    // waits for a frozen server without limit), so it is left for the process's end instead.
    bool unresponsive = false;
};

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* DEVICE_NAME = "default";
constexpr unsigned BUFFER_MICROSECONDS = 500000; // about half a second queued ahead
constexpr int WAIT_MILLISECONDS = 250; // longer than a period, so that room is what wakes us
constexpr auto DRAIN_POLL = std::chrono::milliseconds(10);

// ALSA prints its own diagnostics on stderr; the program reports failures in its own words.
void ignore_alsa_message(const char*, int, const char*, int, const char*, ...) {}

void describe(OutputError& error, const char* what, int code) {
    std::snprintf(error.text, sizeof error.text, "%s: %s", what, snd_strerror(code));
}

void give_up_on(SoundOutput* output, OutputError& error) {
    output->unresponsive = true;
    std::snprintf(error.text, sizeof error.text,
                  "the sound device made no progress for %lld seconds",
                  static_cast<long long>(OUTPUT_STALL_LIMIT.count()));
}

// An underrun (or a suspend) is recovered from and playback goes on; anything else is fatal.
bool recover(snd_pcm_t* pcm, int code, OutputError& error) {
    if (code == -EPIPE || code == -ESTRPIPE) {
        code = snd_pcm_recover(pcm, code, 1);
        if (code == 0) {
            return true;
        }
    }
    describe(error, "the sound device failed", code);
    return false;
}

} // namespace

SoundOutput* output_open(int sample_rate, int /*block_frames*/, OutputError& error) {
    snd_lib_error_set_handler(ignore_alsa_message);
    snd_pcm_t* pcm = nullptr;
    int code = snd_pcm_open(&pcm, DEVICE_NAME, SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    if (code < 0) {
        describe(error, "cannot open the sound device \"default\"", code);
        return nullptr;
    }
    code = snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 1,
                              static_cast<unsigned>(sample_rate), 1, BUFFER_MICROSECONDS);
    if (code < 0) {
        snd_pcm_close(pcm);
        describe(error, "the sound device cannot play 16-bit mono at the stream's rate", code);
        return nullptr;
    }
    return new SoundOutput{pcm};
}

bool output_write(SoundOutput* output, const std::int16_t* samples, int frames,
                  const std::atomic<bool>& stop, OutputError& error) {
    auto last_progress = Clock::now();
    while (frames > 0 && !stop) {
        const snd_pcm_sframes_t written =
            snd_pcm_writei(output->pcm, samples, static_cast<snd_pcm_uframes_t>(frames));
        if (written > 0) {
            samples += written;
            frames -= static_cast<int>(written);
            last_progress = Clock::now();
            continue;
        }
        int code = written == 0 ? -EAGAIN : static_cast<int>(written);
        if (code == -EAGAIN) {
            code = snd_pcm_wait(output->pcm, WAIT_MILLISECONDS);
            if (code >= 0) {
                if (Clock::now() - last_progress >= OUTPUT_STALL_LIMIT) {
                    give_up_on(output, error);
                    return false;
                }
                continue;
            }
        }
        if (!recover(output->pcm, code, error)) {
            return false;
        }
    }
    return true;
}

bool output_drain(SoundOutput* output, const std::atomic<bool>& stop, OutputError& error) {
    snd_pcm_t* pcm = output->pcm;
    if (snd_pcm_state(pcm) == SND_PCM_STATE_PREPARED) {
        snd_pcm_start(pcm); // less than a buffer was ever written
    }
    // snd_pcm_drain would wait without limit, so first watch the queue empty out ourselves.
    snd_pcm_sframes_t last_delay = -1;
    auto last_progress = Clock::now();
    while (!stop) {
        snd_pcm_sframes_t delay = 0;
        const int code = snd_pcm_delay(pcm, &delay);
        if (code == -EPIPE || (code == 0 && delay <= 0)) {
            break; // ran dry: everything has been played
        }
        if (code < 0) {
            describe(error, "the sound device failed", code);
            return false;
        }
        if (delay != last_delay) {
            last_delay = delay;
            last_progress = Clock::now();
        } else if (Clock::now() - last_progress >= OUTPUT_STALL_LIMIT) {
            give_up_on(output, error);
            return false;
        }
        std::this_thread::sleep_for(DRAIN_POLL);
    }
    if (stop) {
        return true;
    }
    snd_pcm_nonblock(pcm, 0);
    const int code = snd_pcm_drain(pcm);
    if (code < 0 && code != -EPIPE) {
        describe(error, "the sound device failed", code);
        return false;
    }
    return true;
}

void output_close(SoundOutput* output) {
    if (!output->unresponsive) {
        snd_pcm_drop(output->pcm);
        snd_pcm_close(output->pcm);
    }
    delete output;
}
