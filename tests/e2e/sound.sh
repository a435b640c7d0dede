#!/usr/bin/env bash
# The chime through a real sound server: a private PulseAudio daemon with a null sink, whose monitor
# is recorded while the popup comes. Afterwards the audio threads must stay asleep while idling.
source "$(dirname "$0")/lib.sh"
WAVE="$(dirname "$0")/../../resources/HALLDROP.wav"
start_sound_server
start_display
start_feedsim --seed 11 --steps 1
prepare_saved_copies 11 0
start_recording "$WORK/heard.wav"
start_warmap
check "the popup fades in" wait_for 20 popup_opaque
sleep 4  # the chime lasts under two seconds
stop_recording

# The sound from its first to its last audible sample, the recording and the file measured alike.
audible_seconds() { sox "$1" "$WORK/trimmed.wav" silence 1 0.005 -50d reverse silence 1 0.005 -50d reverse && soxi -D "$WORK/trimmed.wav"; }
heard=$(audible_seconds "$WORK/heard.wav")
own=$(audible_seconds "$WAVE")
check "the chime reached the sound server for ${heard}s, the file's own ${own}s (within 10 %)" \
    awk -v a="$heard" -v b="$own" 'BEGIN{exit !(a >= 0.9 * b && a <= 1.1 * b)}'
check "its peak $(peak_db "$WORK/heard.wav") dB is the file's $(peak_db "$WAVE") dB (within 1 dB)" \
    awk -v a="$(peak_db "$WORK/heard.wav")" -v b="$(peak_db "$WAVE")" 'BEGIN{d = a - b; exit !(d <= 1 && d >= -1)}'

# Idling: once the popup has faded out, 30 s must cost the audio threads no wake-up at all.
check "the popup fades out" wait_for 30 popup_gone
sleep 1
switches() { for t in /proc/"$WARMAP_PID"/task/*; do echo "${t##*/} $(cat "$t/comm" | tr ' ' _) $(awk '/ctxt_switches/{n += $2} END{print n}' "$t/status")"; done; }
switches > "$WORK/before"
sleep 30
switches > "$WORK/after"
join <(sort "$WORK/before") <(sort "$WORK/after") | awk '{print $2, $5 - $3}' > "$WORK/woken"
echo "wake-ups in 30 s of idling, per thread:"
sed 's/^/    /' "$WORK/woken"
audio=$(awk '$1 ~ /threaded-ml|pulse|audio|Audio/ {n += $2} END{print n + 0}' "$WORK/woken")
check "the audio threads ($(grep -c -E 'threaded-ml|pulse|audio|Audio' "$WORK/woken")) woke $audio times" test "$audio" -eq 0
check "the program is still running" kill -0 "$WARMAP_PID"
finish
