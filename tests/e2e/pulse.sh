# A private PulseAudio server and the ALSA configurations that route the program to it or to a
# file. Expects $work (a scratch directory) and the array started_pids (stopped by the caller).

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
