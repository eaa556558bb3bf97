// Our sound layer: plays 16-bit signed mono streams that it pulls from a callback.
//
// The model, in one place:
// - FSOUND_Init brings the layer up at a mix rate. FSOUND_Stream_Create makes a stream around a
//   callback and a block size in bytes; FSOUND_Stream_Play opens the platform's output device for
//   it and starts the stream's own playback thread, and returns the channel that plays it.
// - The playback thread asks the callback for exactly one block at a time and writes every block
//   whole. When the callback returns 0, that block is still written, the device is drained, and
//   only when the last sample has been played does FSOUND_IsPlaying turn false. Nothing is cut at
//   the end and nothing is added.
// - The callback runs on the playback thread, never twice at once. It must not allocate, lock or
//   do I/O: the device is waiting for its samples.
// - An underrun is recovered and playback goes on. A device that fails, disappears or makes no
//   progress for five seconds ends the stream; sound_failure() then says why.
// - The program's thread and the playback thread share only the stream's state (playing, ended,
//   failed, with the failure's text), guarded by the stream's mutex, and a stop flag.
#pragma once

// Stream mode bits. The layer plays exactly SOUND_16BIT | SOUND_MONO | SOUND_SIGNED (0x130).
inline constexpr unsigned SOUND_16BIT = 0x10;
inline constexpr unsigned SOUND_MONO = 0x20;
inline constexpr unsigned SOUND_SIGNED = 0x100;

inline constexpr int SOUND_ANY_FREE_CHANNEL = -1;

struct SoundStream;

// Fills `length` bytes of `buffer` with the next samples; returns 0 when the stream has ended.
using SoundStreamCallback = signed char (*)(SoundStream* stream, void* buffer, int length,
                                            void* user_data);

// Brings the layer up. `flags` are accepted and ignored. Nonzero on success.
signed char FSOUND_Init(int mix_rate, int max_software_channels, unsigned flags);

// A stream that pulls `length`-byte blocks from `callback`. The rate must be the mix rate and the
// mode 16-bit signed mono. Null on failure.
SoundStream* FSOUND_Stream_Create(SoundStreamCallback callback, int length, unsigned mode,
                                  int sample_rate, void* user_data);

// Starts `stream` on `channel` (or SOUND_ANY_FREE_CHANNEL). Returns the channel, or -1.
int FSOUND_Stream_Play(int channel, SoundStream* stream);

// Nonzero while the channel's stream is still playing. Waits a few milliseconds for a change
// before it answers, so that a loop around it costs next to nothing.
signed char FSOUND_IsPlaying(int channel);

// Stops playback at once, dropping whatever has not been played yet. Nonzero on success.
signed char FSOUND_Stream_Stop(SoundStream* stream);

// Stops the stream if needed and releases it; no callback runs after this. Nonzero on success.
signed char FSOUND_Stream_Close(SoundStream* stream);

// Closes any stream still open and shuts the layer down.
void FSOUND_Close();

// What went wrong first since the layer was started: a call that failed, or a stream that broke
// off before its end. Null if nothing has. Kept until FSOUND_Init starts the layer again.
const char* sound_failure();
