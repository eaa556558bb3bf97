// The stream callback that plays the built-in song, once per process.
#pragma once

struct SoundStream;

// The stream asks for this many bytes per call: 11025 samples, a quarter of a second.
inline constexpr int STREAM_BUFFER_BYTES = 22050;

// Fills `buffer` with the next length / 2 samples of the song (16-bit, mono, 44100 Hz; nothing
// for a length below 2, and an odd last byte is left alone). Returns -1 while the song goes on
// and 0 once both voices have ended; after the end it writes the silent level, -32767.
//
// It runs on the sound layer's playback thread: no allocation, no locks, no I/O. It keeps its
// voices to itself, and the layer never runs two calls at once.
signed char fill_stream(SoundStream* stream, void* buffer, int length, void* user_data);
