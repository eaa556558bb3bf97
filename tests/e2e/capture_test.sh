#!/usr/bin/env bash
# The real program, end to end, with ALSA's file plugin standing in for a sound card: the device
# receives exactly the song, every time, and a missing or broken device gives one line and exit 1.
source "$(dirname "$0")/lib.sh"

for run in 1 2 3; do
    alsa_to_file "$work/capture$run.raw"
    arguments=()
    [[ $run -eq 3 ]] && arguments=(--help extra words) # arguments are ignored
    "$PLAYER" "${arguments[@]}" >"$work/out" 2>"$work/err"
    status=$?
    check "run $run exits 0 (got $status)" test $status -eq 0
    check "run $run prints nothing on stdout" is_empty "$work/out"
    check "run $run prints nothing on stderr" is_empty "$work/err"
    check "run $run's capture is the whole song, bit for bit" \
        cmp "$work/capture$run.raw" "$work/expected.raw"
done
check "the expected song is 116 blocks long" test "$(stat -c %s "$work/expected.raw")" -eq "$SONG_BYTES"

use_alsa_config 'pcm.!default { type hw; card 9 }'
"$PLAYER" >"$work/out" 2>"$work/err"
status=$?
check "no usable device: exit 1 (got $status)" test $status -eq 1
check "no usable device: one line on stderr" has_one_line "$work/err"
check "no usable device: nothing on stdout" is_empty "$work/out"
cat "$work/err"

touch "$work/not-a-directory"
alsa_to_file "$work/not-a-directory/capture.raw"
"$PLAYER" >"$work/out" 2>"$work/err"
status=$?
check "unwritable capture: exit 1 (got $status)" test $status -eq 1
check "unwritable capture: one line on stderr" has_one_line "$work/err"
cat "$work/err"

finish
