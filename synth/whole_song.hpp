// The built-in song rendered into memory, for programs that write it out rather than play it.
#pragma once

#include <cstdint>
#include <vector>

// Renders the song from fresh voices through the stream callback's own routine, in blocks of
// `block_bytes` (at least 2), until a block ends it. Returns every sample of every block: the
// music, then the rest of the last block at the silent level.
std::vector<std::int16_t> render_song_blocks(int block_bytes);

// Samples of music in the built-in song, before the silence that completes its last block.
int song_samples();
