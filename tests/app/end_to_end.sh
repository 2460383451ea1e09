#!/bin/sh
# Drives the real program on an X display of its own (run under xvfb-run inside unshare -n):
# start window -> settings window -> study window -> exit picture -> a new start window ->
# exit button. Arguments: the program, the output folder. Writes "<step> <window id>" lines
# to steps.txt, a grab of each window as <step>.png, and the program's exit status to
# status.txt.
program="$1"
out="$2"
title='背单词'

log() { echo "$*" >>"$out/steps.txt"; }

# The visible window of the program with this role, other than the one given; waits for it.
window_with_role() {
    tries=0
    while [ $tries -lt 300 ]; do
        for w in $(xdotool search --onlyvisible --name "$title" 2>/dev/null); do
            role=$(xprop -id "$w" WM_WINDOW_ROLE 2>/dev/null | sed -n 's/.*= "\(.*\)"/\1/p')
            if [ "$role" = "$1" ] && [ "$w" != "$2" ]; then
                echo "$w"
                return 0
            fi
        done
        tries=$((tries + 1))
        sleep 0.1
    done
    return 1
}

# Records a window: its step name, id, size and a grab of it.
record() {
    step="$1"
    w="$2"
    size=$(xwininfo -id "$w" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
    log "$step $w $size"
    timeout 20 import -window "$w" "$out/$step.png"
}

click_at() {
    xdotool mousemove --window "$1" "$2" "$3"
    xdotool mousemove --window "$1" "$(($2 + 1))" "$3"
    xdotool click 1
}

"$program" >"$out/program.log" 2>&1 &
pid=$!

step() {
    w=$(window_with_role "$2" "$3") || {
        log "missing $1"
        kill "$pid" 2>/dev/null
        wait "$pid"
        echo "$?" >"$out/status.txt"
        exit 1
    }
    # Let the window draw itself and finish its activation before it is grabbed.
    sleep 0.5
    record "$1" "$w"
}

step start start "" && start=$w
click_at "$start" 166 411  # the start button
step settings settings "" && settings=$w
click_at "$settings" 395 402  # the study page's confirm button
step study study "" && study=$w
click_at "$study" 638 547  # the exit picture
step return start "$start" && again=$w
click_at "$again" 518 411  # the exit button

tries=0
while kill -0 "$pid" 2>/dev/null && [ $tries -lt 100 ]; do
    tries=$((tries + 1))
    sleep 0.1
done
if kill -0 "$pid" 2>/dev/null; then
    log "still running"
    kill "$pid"
fi
wait "$pid"
echo "$?" >"$out/status.txt"
