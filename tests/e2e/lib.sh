# Shared by the end-to-end tests: a scratch directory, processes stopped by their PIDs whatever
# happens, a private PulseAudio server (pulse.sh), and checks that count what passed and failed.
#
# Usage from a test: source this file with the player and the song_samples helper as arguments.
set -uo pipefail

PLAYER=$1
SONG_SAMPLES=$2
SONG_BYTES=2557800 # 116 blocks of 22050 bytes
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

work=$(mktemp -d)
started_pids=()
passed=0
failed=0

stop_started_processes() {
    local pid
    for pid in "${started_pids[@]}"; do
        kill -CONT "$pid" 2>/dev/null
        kill "$pid" 2>/dev/null
    done
    for pid in "${started_pids[@]}"; do
        wait "$pid" 2>/dev/null
    done
    started_pids=()
}
trap 'stop_started_processes; rm -rf "$work"' EXIT

check() { # check DESCRIPTION COMMAND...
    local description=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAILED: $description" >&2
    fi
}

finish() {
    echo "$passed passed, $failed failed"
    [[ $failed -eq 0 ]]
}

is_empty() { [[ ! -s $1 ]]; }
has_one_line() { [[ $(wc -l <"$1") -eq 1 && $(wc -c <"$1") -gt 1 ]]; }
seconds_since() { awk -v start="$1" -v now="$EPOCHREALTIME" 'BEGIN { printf "%.3f", now - start }'; }
is_between() { awk -v x="$1" -v low="$2" -v high="$3" 'BEGIN { exit !(x >= low && x <= high) }'; }

source "$HERE/pulse.sh"

"$SONG_SAMPLES" >"$work/expected.raw" || exit 1
