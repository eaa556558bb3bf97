# Shared by the end-to-end tests: a scratch directory, processes stopped by their PIDs whatever
# happens, a private PulseAudio server, and small checks that count what passed and failed.
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

# A private PulseAudio server with one null sink, "song", at the song's own format.
start_pulse() {
    export XDG_RUNTIME_DIR=$work/run HOME=$work/home PULSE_RUNTIME_PATH=$work/run/pulse
    unset PULSE_SERVER
    mkdir -p "$XDG_RUNTIME_DIR" "$HOME"
    chmod 700 "$XDG_RUNTIME_DIR"
    cat >"$work/server.pa" <<'PA'
load-module module-native-protocol-unix
load-module module-null-sink sink_name=song rate=44100 format=s16le channels=1 norewinds=1
set-default-sink song
PA
    pulseaudio -n -F "$work/server.pa" --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
        --disallow-exit --log-target=file:"$work/pulse.log" &
    pulse_pid=$!
    started_pids+=("$pulse_pid")
    local try
    for try in $(seq 100); do
        pactl info >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    echo "the private PulseAudio server did not start:" >&2
    cat "$work/pulse.log" >&2
    return 1
}

# ALSA configurations, chosen only through ALSA_CONFIG_PATH.
use_alsa_config() {
    printf '%s\n' "$1" >"$work/asound.conf"
    export ALSA_CONFIG_PATH=$work/asound.conf
}
alsa_to_file() { use_alsa_config "pcm.!default { type file; slave { pcm { type null } }; file \"$1\"; format \"raw\" }"; }
alsa_to_pulse() { use_alsa_config $'pcm.!default { type pulse }\nctl.!default { type pulse }'; }

"$SONG_SAMPLES" >"$work/expected.raw" || exit 1
