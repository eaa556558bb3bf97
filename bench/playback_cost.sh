#!/usr/bin/env bash
# What playing the song costs: the program against aplay playing the same samples, in the same
# run, through the same private PulseAudio server (a null sink, as the tests use). Prints wall
# time, CPU time (user + sys) and peak RSS for each (medians of RUNS runs), then program/aplay.
# The two take turns, so that whatever else the machine does falls on both alike.
#
# Usage: bench/playback_cost.sh [BUILD_DIR] (default: build); RUNS=3 by default.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
runs=${RUNS:-3}
player=$build/player/square-song
song_samples=$build/tests/song_samples
for needed in "$player" "$song_samples" "$build/bench/measure" /usr/bin/aplay; do
    [[ -x $needed ]] || { echo "playback_cost: $needed is missing; build and install first" >&2; exit 1; }
done

work=$(mktemp -d)
started_pids=()
trap 'for pid in "${started_pids[@]}"; do kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; done; rm -rf "$work"' EXIT
source "$here/../tests/e2e/pulse.sh"
start_pulse || exit 1
alsa_to_pulse
"$song_samples" >"$work/song.raw"

# measure NAME COMMAND...: appends "wall cpu rss_kib" for one run to $work/NAME.
measure() {
    local name=$1
    shift
    "$build/bench/measure" "$@" >>"$work/$name" 2>"$work/err" ||
        { echo "playback_cost: $name failed: $(cat "$work/err")" >&2; exit 1; }
}

for run in $(seq "$runs"); do
    measure program "$player"
    measure aplay aplay -q -t raw -f S16_LE -r 44100 -c 1 "$work/song.raw"
done

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
column_median() { cut -d' ' -f"$2" "$work/$1" | median; }

printf '%-8s %10s %12s %14s   (medians of %d runs)\n' "" "wall s" "cpu s" "peak RSS KiB" "$runs"
for name in program aplay; do
    printf '%-8s %10s %12s %14s\n' "$name" "$(column_median $name 1)" "$(column_median $name 2)" \
        "$(column_median $name 3)"
done
awk -v pw="$(column_median program 1)" -v aw="$(column_median aplay 1)" \
    -v pc="$(column_median program 2)" -v ac="$(column_median aplay 2)" \
    -v pr="$(column_median program 3)" -v ar="$(column_median aplay 3)" 'BEGIN {
    printf "program/aplay: cpu %.2f (goal <= 1.0), peak RSS %.2f (goal <= 1.0), wall %+.3f s (goal <= +0.3 s)\n",
        (ac > 0 ? pc / ac : 0), pr / ar, pw - aw
}'
