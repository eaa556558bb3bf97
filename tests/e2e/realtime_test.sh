#!/usr/bin/env bash
# The real program in real time through a private PulseAudio server: the sink hears the whole
# song, bit for bit, in the song's own time; a server that dies or freezes ends the program with
# one line and exit 1 instead of a hang.
source "$(dirname "$0")/lib.sh"

# timeout(1) passes a stop on to the player, so killing its PID stops both.
play() { timeout --kill-after=5 90 "$PLAYER" >"$work/out" 2>"$work/err"; }
play_in_background() {
    timeout --kill-after=5 90 "$PLAYER" >"$work/out" 2>"$work/err" &
    player_pid=$!
    started_pids+=("$player_pid")
}

start_pulse || exit 1
alsa_to_pulse

parec -d song.monitor --raw --format=s16le --rate=44100 --channels=1 >"$work/recording.raw" &
parec_pid=$!
started_pids+=("$parec_pid")
for try in $(seq 50); do
    [[ -n $(pactl list short source-outputs) ]] && break
    sleep 0.1
done
started=$EPOCHREALTIME
play
status=$?
wall=$(seconds_since "$started")
sleep 0.5 # the recorder is a little behind the sink
kill "$parec_pid"
wait "$parec_pid"
echo "played in $wall s"
check "plays to the end: exit 0 (got $status)" test $status -eq 0
check "prints nothing on stdout" is_empty "$work/out"
check "prints nothing on stderr" is_empty "$work/err"
check "takes the song's time: $wall s" is_between "$wall" 28.98 30.5
check "the sink heard the whole song, bit for bit" \
    python3 "$HERE/recording_holds_song.py" "$work/recording.raw" "$work/expected.raw"

# The server dies mid-song.
play_in_background
sleep 3
kill -KILL "$pulse_pid"
killed=$EPOCHREALTIME
wait "$player_pid"
status=$?
took=$(seconds_since "$killed")
echo "server killed: the player exited $took s later: $(cat "$work/err")"
check "server killed: exit 1 (got $status)" test $status -eq 1
check "server killed: exits within 2 s ($took s)" is_between "$took" 0 2
check "server killed: one line on stderr" has_one_line "$work/err"

# The server freezes mid-song.
start_pulse || exit 1
play_in_background
sleep 3
kill -STOP "$pulse_pid"
frozen=$EPOCHREALTIME
wait "$player_pid"
status=$?
took=$(seconds_since "$frozen")
kill -CONT "$pulse_pid"
echo "server frozen: the player exited $took s later: $(cat "$work/err")"
check "server frozen: exit 1 (got $status)" test $status -eq 1
check "server frozen: exits within 10 s ($took s)" is_between "$took" 0 10
check "server frozen: one line on stderr" has_one_line "$work/err"

finish
