// The program's entry routine: plays the built-in song from start to end.
#pragma once

struct SoundStream;

// The stream that plays the song; null until it has been created.
extern SoundStream* song_stream;

// Plays the song through the sound layer and waits until the last sample has been played. The
// arguments are accepted and ignored. Returns 0, or 1 when sound output could not start or broke
// off before the end; then one line on stderr says what failed and why.
int play_song(int argc, char** argv, char** envp);
