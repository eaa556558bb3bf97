// The portable stream engine: library and stream state, the playback thread, end of stream.
#include "output.hpp"
#include "sound.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace {

enum class StreamState { idle, playing, ended, stopped, failed };

constexpr unsigned PLAYABLE_MODE = SOUND_16BIT | SOUND_MONO | SOUND_SIGNED;
constexpr int LOWEST_MIX_RATE = 8000;
constexpr int HIGHEST_MIX_RATE = 192000;
constexpr int MOST_CHANNELS = 64;
constexpr auto IS_PLAYING_WAIT = std::chrono::milliseconds(40);

} // namespace

struct SoundStream {
    SoundStreamCallback callback = nullptr;
    void* user_data = nullptr;
    int block_bytes = 0;
    std::vector<std::int16_t> block; // allocated once, refilled by every callback
    SoundOutput* output = nullptr;
    std::thread thread;
    std::atomic<bool> stop{false};

    // Shared with the playback thread: written by it when it finishes, under `mutex`.
    std::mutex mutex;
    std::condition_variable changed;
    StreamState state = StreamState::idle;
    OutputError error;
};

namespace {

// The layer's own state, touched only by the program's thread.
struct Library {
    bool up = false;
    int mix_rate = 0;
    std::vector<SoundStream*> channels; // the stream each channel plays, or null
    std::vector<SoundStream*> streams;  // every stream not yet closed
    char failure[512] = "";
};

Library library;

// Keeps the first failure: later ones are usually its consequences.
[[gnu::format(printf, 1, 2)]] void fail(const char* format, ...) {
    if (library.failure[0] != '\0') {
        return;
    }
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(library.failure, sizeof library.failure, format, arguments);
    va_end(arguments);
}

bool is_open(const SoundStream* stream) {
    return std::find(library.streams.begin(), library.streams.end(), stream) !=
           library.streams.end();
}

// The playback thread: one block from the callback, written whole, until the callback says the
// stream has ended (that block is written too) or the stream is stopped.
void play_blocks(SoundStream& stream) {
    OutputError error;
    const int frames = stream.block_bytes / 2;
    bool ok = true;
    bool ended = false;
    while (ok && !ended && !stream.stop) {
        ended = stream.callback(&stream, stream.block.data(), stream.block_bytes,
                                stream.user_data) == 0;
        ok = output_write(stream.output, stream.block.data(), frames, stream.stop, error);
    }
    if (ok && ended) {
        ok = output_drain(stream.output, stream.stop, error);
    }

    const std::lock_guard lock(stream.mutex);
    if (!ok) {
        stream.state = StreamState::failed;
        stream.error = error;
    } else {
        stream.state = stream.stop ? StreamState::stopped : StreamState::ended;
    }
    stream.changed.notify_all();
}

void note_if_failed(SoundStream& stream) {
    const std::lock_guard lock(stream.mutex);
    if (stream.state == StreamState::failed) {
        fail("%s", stream.error.text);
    }
}

} // namespace

signed char FSOUND_Init(int mix_rate, int max_software_channels, unsigned /*flags*/) {
    if (library.up) {
        fail("the sound layer is already started");
        return 0;
    }
    library.failure[0] = '\0';
    if (mix_rate < LOWEST_MIX_RATE || mix_rate > HIGHEST_MIX_RATE) {
        fail("cannot mix at %d Hz", mix_rate);
        return 0;
    }
    if (max_software_channels < 1 || max_software_channels > MOST_CHANNELS) {
        fail("cannot offer %d channels", max_software_channels);
        return 0;
    }
    library.up = true;
    library.mix_rate = mix_rate;
    library.channels.assign(static_cast<std::size_t>(max_software_channels), nullptr);
    return 1;
}

SoundStream* FSOUND_Stream_Create(SoundStreamCallback callback, int length, unsigned mode,
                                  int sample_rate, void* user_data) {
    if (!library.up) {
        fail("the sound layer is not started");
        return nullptr;
    }
    if (callback == nullptr || length < 2) {
        fail("a stream needs a callback and blocks of at least one sample");
        return nullptr;
    }
    if (mode != PLAYABLE_MODE) {
        fail("cannot play stream mode 0x%x, only 16-bit signed mono (0x%x)", mode, PLAYABLE_MODE);
        return nullptr;
    }
    if (sample_rate != library.mix_rate) {
        fail("cannot play a stream at %d Hz when mixing at %d Hz", sample_rate, library.mix_rate);
        return nullptr;
    }
    auto* stream = new SoundStream;
    stream->callback = callback;
    stream->user_data = user_data;
    stream->block_bytes = length;
    stream->block.resize(static_cast<std::size_t>(length + 1) / 2);
    library.streams.push_back(stream);
    return stream;
}

int FSOUND_Stream_Play(int channel, SoundStream* stream) {
    if (!library.up || !is_open(stream)) {
        fail("no such stream");
        return -1;
    }
    if (stream->thread.joinable()) {
        fail("the stream is already playing");
        return -1;
    }
    if (channel == SOUND_ANY_FREE_CHANNEL) {
        const auto free = std::find(library.channels.begin(), library.channels.end(), nullptr);
        channel = static_cast<int>(free - library.channels.begin());
    }
    if (channel < 0 || channel >= static_cast<int>(library.channels.size()) ||
        library.channels[static_cast<std::size_t>(channel)] != nullptr) {
        fail("no free channel to play on");
        return -1;
    }

    OutputError error;
    stream->output = output_open(library.mix_rate, stream->block_bytes / 2, error);
    if (stream->output == nullptr) {
        fail("%s", error.text);
        return -1;
    }
    stream->stop = false;
    stream->state = StreamState::playing;
    try {
        stream->thread = std::thread(play_blocks, std::ref(*stream));
    } catch (const std::system_error& e) {
        output_close(stream->output);
        stream->output = nullptr;
        stream->state = StreamState::idle;
        fail("cannot start the playback thread: %s", e.what());
        return -1;
    }
    library.channels[static_cast<std::size_t>(channel)] = stream;
    return channel;
}

signed char FSOUND_IsPlaying(int channel) {
    if (!library.up || channel < 0 || channel >= static_cast<int>(library.channels.size())) {
        return 0;
    }
    SoundStream* stream = library.channels[static_cast<std::size_t>(channel)];
    if (stream == nullptr) {
        return 0;
    }
    std::unique_lock lock(stream->mutex);
    stream->changed.wait_for(lock, IS_PLAYING_WAIT,
                             [stream] { return stream->state != StreamState::playing; });
    const bool playing = stream->state == StreamState::playing;
    lock.unlock();
    if (!playing) {
        note_if_failed(*stream);
    }
    return playing ? 1 : 0;
}

signed char FSOUND_Stream_Stop(SoundStream* stream) {
    if (!library.up || !is_open(stream)) {
        fail("no such stream");
        return 0;
    }
    if (stream->thread.joinable()) {
        stream->stop = true;
        stream->thread.join();
        note_if_failed(*stream);
    }
    if (stream->output != nullptr) {
        output_close(stream->output);
        stream->output = nullptr;
    }
    std::replace(library.channels.begin(), library.channels.end(), stream,
                 static_cast<SoundStream*>(nullptr));
    return 1;
}

signed char FSOUND_Stream_Close(SoundStream* stream) {
    if (!FSOUND_Stream_Stop(stream)) {
        return 0;
    }
    library.streams.erase(std::find(library.streams.begin(), library.streams.end(), stream));
    delete stream;
    return 1;
}

void FSOUND_Close() {
    while (!library.streams.empty()) {
        FSOUND_Stream_Close(library.streams.back());
    }
    library.channels.clear();
    library.up = false;
}

const char* sound_failure() {
    return library.failure[0] != '\0' ? library.failure : nullptr;
}
