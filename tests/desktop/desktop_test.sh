#!/usr/bin/env bash
# The real program on a real Linux desktop: an X server (Xvfb, 1600x1000)
# with a window manager (openbox), a fresh home, the program's questions
# answered from a script, and its windows looked at from outside with the
# X tools, as a transcriber's desktop shows them.
#
#   desktop_test.sh PROGRAM FIXTURES CASE
#
# CASE is one of:
#   first-start       every window shown after a first start lies wholly on
#                     the screen, title bar included; the settings file and
#                     the work file are the user's alone (mode 0600)
#   minimise-restore  the main window minimised, then activated through the
#                     window manager, is on view again and takes typing
#   help-key          F1 on a header field and in a surname cell opens that
#                     field's page with the desktop's opener (xdg-open)
#   no-browser        with no opener at all, F1 names the page in a message
#   header-place      the header form closed and opened again stands where
#                     it stood
# Exits 77 (skipped) only when no X server can start here.
set -euo pipefail

program=$1
fixtures=$2
case=$3

work=$(mktemp -d "${TMPDIR:-/tmp}/pelkar-desktop.XXXXXX")
home=$work/home
data=$home/Documents/Pelkar_Files
mkdir -p "$home" "$work/runtime" "$work/bin"
chmod 700 "$work/runtime"
pids=()
program_pid=

finish() {
    local p
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap finish EXIT

# On standard error: a failure inside $(...) must still be seen.
fail() {
    {
        echo "FAIL ($case): $*"
        [ -f "$work/program.log" ] && sed 's/^/  program: /' "$work/program.log" | tail -20
        [ -f "$work/script.log" ] && sed 's/^/  asked: /' "$work/script.log" | tail -10
        [ -s "$work/openbox.log" ] && sed 's/^/  window manager: /' "$work/openbox.log" | tail -10
        [ -s "$work/xvfb.log" ] && sed 's/^/  X server: /' "$work/xvfb.log" | tail -5
    } >&2
    exit 1
}

start_desktop() {
    if ! command -v Xvfb >/dev/null; then
        echo "SKIP: no X server can start here (Xvfb is not installed)"
        exit 77
    fi
    local tool
    for tool in openbox xdotool wmctrl xwininfo xprop; do
        command -v "$tool" >/dev/null || fail "$tool is missing (scripts/setup.sh installs it)"
    done
    # Xvfb chooses a free display itself and writes its number: tests run
    # side by side never meet on one display.
    Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp 3>"$work/display" \
        >"$work/xvfb.log" 2>&1 &
    local xvfb=$!
    pids+=("$xvfb")
    for _ in $(seq 200); do
        [ -s "$work/display" ] && break
        kill -0 "$xvfb" 2>/dev/null || break
        sleep 0.05
    done
    if [ ! -s "$work/display" ]; then
        echo "SKIP: no X server can start here: $(tail -1 "$work/xvfb.log")"
        exit 77
    fi
    export DISPLAY=:$(head -1 "$work/display")
    # A window manager that has not answered in 15 s is started once more:
    # what is tested is the program, not how fast a loaded machine starts it.
    local attempt wm
    for attempt in 1 2; do
        HOME=$home openbox --sm-disable >>"$work/openbox.log" 2>&1 &
        wm=$!
        pids+=("$wm")
        for _ in $(seq 300); do
            wmctrl -m >/dev/null 2>&1 && return
            kill -0 "$wm" 2>/dev/null || break
            sleep 0.05
        done
        kill "$wm" 2>/dev/null || true
        wait "$wm" 2>/dev/null || true
    done
    fail "the window manager did not start"
}

# run_program ANSWER... [-- ARGUMENT...]: starts the program in the home,
# its messages answered in turn, at 96 dots an inch (the places checked are
# in pixels, and a bare X server's own figure varies).
run_program() {
    local answers=()
    while [ $# -gt 0 ] && [ "$1" != "--" ]; do answers+=("$1"); shift; done
    [ "${1:-}" = "--" ] && shift
    printf '%s\n' "${answers[@]}" >"$work/script"
    rm -f "$work/script.log"
    env HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share" \
        XDG_CACHE_HOME="$home/.cache" XDG_RUNTIME_DIR="$work/runtime" \
        QT_QPA_PLATFORM=xcb QT_FONT_DPI=96 PELKAR_SCRIPT="$work/script" \
        PATH="${program_path:-$PATH}" ${desktop_shell:+PELKAR_DESKTOP_SHELL=1} \
        "$program" "$@" >"$work/program.log" 2>&1 </dev/null &
    program_pid=$!
    pids+=("$program_pid")
}

# The ids of the program's windows the window manager shows.
shown_windows() {
    local id pid rest
    wmctrl -lp | while read -r id _ pid rest; do
        [ "$pid" = "$program_pid" ] && [ "$(map_state "$id")" = IsViewable ] && echo "$id"
    done
    return 0
}

# wait_window TITLE: the id of the program's shown window whose title
# matches, once there.
wait_window() {
    local id
    for _ in $(seq 200); do
        # A window not matching (or gone meanwhile) is no failure: the
        # wanted one may not be shown yet.
        id=$(for w in $(shown_windows); do
                 if xdotool getwindowname "$w" 2>/dev/null | grep -q -- "$1"; then echo "$w"; fi
             done | head -1)
        [ -n "$id" ] && { echo "$id"; return; }
        kill -0 "$program_pid" 2>/dev/null || fail "the program ended before showing '$1'"
        sleep 0.05
    done
    fail "no window '$1' was shown"
}

# frame_of ID: "left top width height" of the window's frame, title bar
# and borders included, as the window manager drew it.
frame_of() {
    local x y w h l r t b
    read -r x y w h < <(xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$4}
        /Absolute upper-left Y/{y=$4} /^  Width:/{w=$2} /^  Height:/{h=$2}
        END{print x, y, w, h}')
    read -r l r t b < <(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= //p' | tr -d ',')
    echo "$((x - ${l:-0})) $((y - ${t:-0})) $((w + ${l:-0} + ${r:-0})) $((h + ${t:-0} + ${b:-0}))"
}

# settled_frame ID: the frame once it has stood still for a second (the
# program puts a window right once the window manager has framed it).
settled_frame() {
    local last now still=0
    last=$(frame_of "$1")
    for _ in $(seq 50); do
        sleep 0.2
        now=$(frame_of "$1")
        if [ "$now" = "$last" ]; then
            still=$((still + 1))
            [ "$still" -ge 5 ] && break
        else
            still=0
        fi
        last=$now
    done
    echo "$now"
}

map_state() {
    xwininfo -id "$1" 2>/dev/null | awk '/Map State/{print $3}'
}

wait_map_state() {
    for _ in $(seq 100); do
        [ "$(map_state "$1")" = "$2" ] && return 0
        sleep 0.05
    done
    return 1
}

wait_file_line() {
    for _ in $(seq 100); do
        [ -f "$1" ] && grep -q -- "$2" "$1" && return 0
        sleep 0.05
    done
    return 1
}

batch=$work/1905B1A0012.ZEL
cp "$fixtures/batch-births-plain-fiche/input.ZEL" "$batch"
first_start=("Use Default" "Ok")

start_desktop
case $case in
first-start)
    run_program "${first_start[@]}" -- "$batch"
    main=$(wait_window "1905 Births")
    # Into the forenames column: the pick list shows too.
    xdotool key Tab
    wait_window "Picklist" >/dev/null
    sleep 0.5
    count=0
    for id in $(shown_windows); do
        read -r x y w h < <(settled_frame "$id")
        title=$(xdotool getwindowname "$id")
        echo "window '$title': frame ${w}x${h} at $x,$y"
        if [ "$x" -lt 0 ] || [ "$y" -lt 0 ] || [ $((x + w)) -gt 1600 ] || [ $((y + h)) -gt 1000 ]; then
            fail "the window '$title' is not wholly on the 1600x1000 screen: frame ${w}x${h} at $x,$y"
        fi
        count=$((count + 1))
    done
    [ "$count" -ge 3 ] || fail "expected the main window, the paste texts and the pick list; saw $count windows"
    for file in Pelkarini.txt PelkarWork; do
        [ -f "$data/$file" ] || fail "no $file in the data folder"
        mode=$(stat -c %a "$data/$file")
        [ "$mode" = 600 ] || fail "$file has mode $mode, not 600"
    done
    ;;
minimise-restore)
    run_program "${first_start[@]}" -- "$batch"
    main=$(wait_window "1905 Births")
    sleep 0.3
    xdotool windowminimize "$main"
    wait_map_state "$main" IsUnMapped || fail "the main window did not minimise"
    sleep 0.3
    wmctrl -i -a "$main"
    wait_map_state "$main" IsViewable || fail "the minimised main window did not come back when activated"
    sleep 0.3
    [ "$(map_state "$main")" = IsViewable ] || fail "the main window went back down after it was restored"
    # The surname cell has the focus: what is typed reaches the work file
    # once the row is left.
    xdotool type --delay 20 QZX
    xdotool key Down
    wait_file_line "$data/PelkarWork" QZX || fail "typing after the restore did not reach the entry box"
    ;;
help-key)
    printf '#!/bin/sh\necho "$1" >>"%s"\n' "$work/opened" >"$work/bin/xdg-open"
    chmod +x "$work/bin/xdg-open"
    program_path=$work/bin:/usr/bin:/bin
    desktop_shell=1
    # A first start shows the header form, the event type in front.
    run_program "${first_start[@]}"
    header=$(wait_window "Batch Header")
    sleep 0.5
    xdotool key F1
    wait_file_line "$work/opened" "header-event.html" \
        || fail "F1 on the event type opened $(cat "$work/opened" 2>/dev/null || echo nothing)"
    kill "$program_pid"
    wait "$program_pid" 2>/dev/null || true
    rm -f "$work/opened" "$data/PelkarWork"
    # A batch opens in the main window, the surname cell in front.
    run_program Ok Ok -- "$batch"
    main=$(wait_window "1905 Births")
    sleep 0.5
    xdotool key F1
    wait_file_line "$work/opened" "surname.html" \
        || fail "F1 in the surname cell opened $(cat "$work/opened" 2>/dev/null || echo nothing)"
    ;;
no-browser)
    # No opener on the path at all.
    program_path=$work/bin
    desktop_shell=1
    run_program "${first_start[@]}" Ok
    header=$(wait_window "Batch Header")
    sleep 0.5
    xdotool key F1
    wait_file_line "$work/script.log" "header-event.html" || fail "F1 with no opener said nothing"
    grep -q "could not open its help" "$work/script.log" || fail "the message does not say the help could not be opened"
    page=$(grep -o '/[^"\\]*/header-event\.html' "$work/script.log" | head -1 || true)
    [ -n "$page" ] && [ -f "$page" ] \
        || fail "the message does not name the page's full path"
    ;;
header-place)
    run_program "${first_start[@]}"
    header=$(wait_window "Batch Header")
    first=$(settled_frame "$header")
    echo "first opening: frame at $first"
    # Its close box ends the run, the form's place stored.
    wmctrl -i -c "$header"
    for _ in $(seq 100); do kill -0 "$program_pid" 2>/dev/null || break; sleep 0.05; done
    kill -0 "$program_pid" 2>/dev/null && fail "closing the header form did not end the run"
    run_program Ok Ok Ok
    header=$(wait_window "Batch Header")
    again=$(settled_frame "$header")
    echo "second opening: frame at $again"
    [ "$first" = "$again" ] || fail "the header form moved between openings: $first, then $again"
    ;;
*)
    fail "no such case"
    ;;
esac
echo "PASS ($case)"
