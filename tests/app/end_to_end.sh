#!/bin/sh
# Drives the real program on an X display of its own (run under xvfb-run inside unshare -n,
# or unshare -rn for a user other than root):
# start window -> settings window -> the graded plan "600" -> confirm -> five answers in the
# study window -> exit picture -> a new start window -> dictionary button -> a look-up ->
# exit picture -> a new start window -> exit button.
# Arguments: the program, the output folder, the settings folder, the word to look up.
# Writes "<step> <window id> <size>" lines to steps.txt, a grab of each window as <step>.png,
# "answer <n> wrong" and "answer <n> right <ms>" lines for the answers (ms: how long after
# the answer's last write its grab was done), a copy of the program's database and
# settings files as they stand after the study window into after-study/, and the program's
# exit status to status.txt.
program="$1"
out="$2"
config="$3"
word="$4"
folder=$(dirname "$program")
title='背单词'

log() { echo "$*" >>"$out/steps.txt"; }

# The program's visible windows that show its title. A window manager shows _NET_WM_NAME, the
# title in UTF-8; the older WM_NAME holds it in the encoding of the program's locale, which
# in the C locale has no Chinese. So _NET_WM_NAME is matched, read in a UTF-8 locale whatever
# locale the program runs in.
titled_windows() {
    for w in $(xdotool search --onlyvisible --class vocabtrainer 2>/dev/null); do
        shown=$(LC_ALL=C.UTF-8 xprop -id "$w" _NET_WM_NAME 2>/dev/null |
            sed -n 's/.*= "\(.*\)"/\1/p')
        [ "$shown" = "$title" ] && echo "$w"
    done
}

# The visible window of the program with this role, other than the one given; waits for it
# (at most the given number of tenths of a second, 300 when none is given).
window_with_role() {
    tries=0
    while [ $tries -lt "${3:-300}" ]; do
        for w in $(titled_windows); do
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

finish() {
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
}

fail() {
    log "missing $1"
    kill "$pid" 2>/dev/null
    finish
    exit 1
}

step() {
    w=$(window_with_role "$2" "$3") || fail "$1"
    # Let the window draw itself and finish its activation before it is grabbed.
    sleep 0.5
    record "$1" "$w"
}

# Clicks until the window with this role (other than the one given) shows: a click that the
# program held off (the study window's exit picture while an answer is handled) is repeated.
click_until_window() {
    clicks=0
    while [ $clicks -lt 5 ]; do
        click_at "$1" "$2" "$3"
        clicks=$((clicks + 1))
        if w=$(window_with_role "$4" "$5" 30); then
            return 0
        fi
    done
    return 1
}

# Grabs the window until the grab differs from the given one in the given area
# (WxH+X+Y), at most 30 times; the last grab stays as <step>.png.
grab_until_changed() {
    tries=0
    while [ $tries -lt 30 ]; do
        timeout 20 import -window "$1" "$out/$3.png"
        differing=$(compare -metric AE "$out/$2.png[$4]" "$out/$3.png[$4]" null: 2>&1)
        if [ "${differing%%.*}" -gt 0 ] 2>/dev/null; then
            return 0
        fi
        tries=$((tries + 1))
        sleep 0.1
    done
    return 1
}

# What the answers change: the settings store and the database files.
fingerprint() { cat "$config"/*.ini "$folder"/*.dic* 2>/dev/null | cksum; }
words_print() { cksum <"$folder/qmlexi.dic"; }
learned() { sed -n 's/^learnedtime=//p' "$config/qmword.ini" 2>/dev/null; }

# Waits until a print (fingerprint or words_print) differs from the one given, looking every
# 0.05 s at most the given number of times.
changed() {
    tries=0
    while [ "$($1)" = "$2" ]; do
        tries=$((tries + 1))
        [ $tries -lt "$3" ] || return 1
        sleep 0.05
    done
}

# One answer: a click on the answer row at this height. The study window holds clicks off
# while it handles an answer (the spoken word, the pause after a right answer); a click that
# changed nothing is repeated.
answer() {
    n="$1"
    y="$2"
    before=$(fingerprint)
    words_before=$(words_print)
    learned_before=$(learned)
    clicks=0
    while :; do
        [ $clicks -lt 8 ] || fail "answer $n"
        click_at "$study" 400 "$y"
        clicks=$((clicks + 1))
        # A click taken changes something at once (3 s at most).
        changed fingerprint "$before" 60 && break
    done
    # The word database is the handler's last write, on the right and on the wrong path alike
    # (10 s at most).
    changed words_print "$words_before" 200 || fail "answer $n"
    handled=$(date +%s%N)
    if [ "$(learned)" != "$learned_before" ]; then
        # The grab shows the right row in its colour while the window pauses for a second
        # after a right answer, unless a busy machine made the grab late; the line says how
        # many milliseconds after the answer's last write it was done.
        record "answer-$n" "$study"
        log "answer $n right $((($(date +%s%N) - handled) / 1000000))"
        sleep 1
    else
        # The same question is dealt again; let it be drawn.
        sleep 0.2
        record "answer-$n" "$study"
        log "answer $n wrong"
    fi
}

step start start "" && start=$w
click_at "$start" 166 411  # the start button
step settings settings "" && settings=$w
click_at "$settings" 100 232  # the study plan "600"
grab_until_changed "$settings" settings settings-plan 700x300+24+56 || fail settings-plan
log "settings-plan $settings 800x600"
click_at "$settings" 395 402  # the study page's confirm button
step study study "" && study=$w
# The five visible answer rows from the top.
answer 1 184
answer 2 240
answer 3 296
answer 4 352
answer 5 408
click_until_window "$study" 638 547 start "$start" || fail return  # the exit picture
again=$w
sleep 0.5
record return "$again"
mkdir -p "$out/after-study"
cp "$config"/*.ini "$folder"/*.dic* "$out/after-study/"

click_at "$again" 342 411  # the dictionary button
step dictionary dictionary "" && dictionary=$w
click_at "$dictionary" 524 480  # the look-up box
xdotool type --delay 20 "$word"
xdotool key Return
grab_until_changed "$dictionary" dictionary lookup 537x297+136+96 || fail lookup
log "lookup $dictionary 800x600"
click_until_window "$dictionary" 510 531 start "$again" || fail final  # the exit picture
final=$w
sleep 0.5
record final "$final"
click_at "$final" 518 411  # the exit button

finish
