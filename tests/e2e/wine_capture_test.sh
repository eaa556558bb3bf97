#!/usr/bin/env bash
# The Windows program under Wine, with Wine's ALSA driver and ALSA's file plugin standing in for a
# sound card: the device receives what the Linux program sends, bit for bit. Runs in the Wine
# prefix that tools/test-windows.sh prepares (WINEPREFIX, with the ALSA driver chosen).
source "$(dirname "$0")/lib.sh"

# Wine's driver keeps its device fed: once the last block has been played and before the program
# closes the device, it may write a period or two of zeros. That is Wine's, not the program's.
WINE_PADDING_LIMIT=$((4 * 441 * 2))

alsa_to_file "$work/capture.raw"
wine "$PLAYER" >"$work/out" 2>"$work/err"
status=$?
check "exits 0 (got $status)" test $status -eq 0
check "prints nothing on stdout" is_empty "$work/out"
check "prints nothing on stderr" is_empty "$work/err"
check "the capture starts with the whole song, bit for bit" \
    cmp -n "$SONG_BYTES" "$work/capture.raw" "$work/expected.raw"
size=$(stat -c %s "$work/capture.raw")
padding=$((size - SONG_BYTES))
echo "Wine's driver added $padding bytes of silence after the song"
check "after the song only Wine's silence: $padding bytes" \
    bash -c "[[ $padding -ge 0 && $padding -le $WINE_PADDING_LIMIT ]] &&
             tail -c $padding '$work/capture.raw' | cmp -s - <(head -c $padding /dev/zero)"

use_alsa_config 'pcm.!default { type hw; card 9 }'
wine "$PLAYER" >"$work/out" 2>"$work/err"
status=$?
cat "$work/err"
check "no usable device: exit 1 (got $status)" test $status -eq 1
check "no usable device: one line on stderr" has_one_line "$work/err"

finish
