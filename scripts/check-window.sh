#!/usr/bin/env bash
# Checks the main window on a real X server, as a player meets it: its
# first size and place, the 4:3 rule after resizes and frame drags, its
# minimum, a stored placement, the keyboard after a dialog, a held arrow
# key, and the rules window beside the game. Runs each check under Xvfb,
# with openbox as window manager and without one, and prints what it
# measured; the exit status is the number of checks that went wrong.
#   scripts/check-window.sh [build folder]
# A manual check: the window manager and the game answer in their own time,
# so the steps wait with sleeps, and a very slow machine may need longer
# (TUMBLEWICK_WAIT=seconds, default 1). It is not part of the test suite.
set -uo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
game="$build/game/tumblewick"
wait_s=${TUMBLEWICK_WAIT:-1}
screen_w=1280
screen_h=1024

if [[ -z "${TUMBLEWICK_IN_XVFB:-}" ]]; then
    export TUMBLEWICK_IN_XVFB=1
    exec xvfb-run -a -s "-screen 0 ${screen_w}x${screen_h}x24" "$0" "$@"
fi
export SDL_AUDIODRIVER=dummy

wrong=0
ok() { echo "ok:    $*"; }
bad() {
    echo "WRONG: $*"
    wrong=$((wrong + 1))
}

config=$(mktemp -d)
wm=
app=
win=
cleanup() {
    [[ -n "$app" ]] && kill "$app" 2>/dev/null
    [[ -n "$wm" ]] && kill "$wm" 2>/dev/null
    wait 2>/dev/null
    app=
    wm=
}
trap 'cleanup; rm -rf "$config"' EXIT

# start_game yes|no [settings line ...]
start_game() {
    cleanup
    if [[ "$1" == yes ]]; then
        openbox >/dev/null 2>&1 &
        wm=$!
        sleep "$wait_s"
    fi
    shift
    rm -rf "$config/QuirkGames"
    mkdir -p "$config/QuirkGames/Tumblewick"
    {
        echo "[common]"
        echo "tongue=0"
        for line in "$@"; do echo "$line"; done
    } >"$config/QuirkGames/Tumblewick/V2.conf"
    XDG_CONFIG_HOME="$config" "$game" >/dev/null 2>&1 &
    app=$!
    win=$(xdotool search --sync --onlyvisible --name '^Tumblewick' | head -1)
    sleep "$wait_s"
}

# Sets IW IH IX IY (inner) and OW OH OX OY (outer, frame included) of a window.
measure() {
    local id=${1:-$win} extents
    extents=$(xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p' | tr -d ' ')
    IFS=, read -r fl fr ft fb <<<"${extents:-0,0,0,0}"
    read -r IX IY IW IH < <(xwininfo -id "$id" | awk '/Absolute upper-left X/ {x = $4}
        /Absolute upper-left Y/ {y = $4} /Width:/ {w = $2} /Height:/ {h = $2}
        END {print x, y, w, h}')
    OX=$((IX - fl))
    OY=$((IY - ft))
    OW=$((IW + fl + fr))
    OH=$((IH + ft + fb))
}
outer() { echo "${OW}x${OH}+${OX}+${OY} outside, ${IW}x${IH} inside"; }

# At 4:3 as the game's rule has it, and at least the minimum.
at_four_to_three() {
    local w=$OW h=$OH
    ((w * 3 / 4 > h)) && h=$((w * 3 / 4))
    ((w * 3 / 4 < h)) && w=$((h * 4 / 3))
    [[ $w == "$OW" && $h == "$OH" && $OW -ge 680 && $OH -ge 460 ]]
}
expect_ratio() {
    measure
    if at_four_to_three; then ok "$1: $(outer)"; else bad "$1: $(outer), not 4:3"; fi
}

# drag X Y DX DY [seconds held still before letting go]
drag() {
    xdotool mousemove "$1" "$2"
    sleep 0.1
    xdotool mousedown 1
    for i in 1 2 3 4 5 6; do
        xdotool mousemove $(($1 + $3 * i / 6)) $(($2 + $4 * i / 6))
        sleep 0.05
    done
    sleep "${5:-0.05}"
    xdotool mouseup 1
    sleep "$wait_s"
}

# The bounding box of the hero ball's red on the board, as "x,y".
hero() {
    measure
    import -window root "$config/shot.png"
    convert "$config/shot.png" -crop "${IW}x$((IH - 70))+${IX}+$((IY + 60))" +repage \
        -fuzz 12% -fill black +opaque "rgb(225,55,55)" -fill white -opaque "rgb(225,55,55)" \
        -trim info: 2>/dev/null | awk '{split($4, a, "+"); print a[2] "," a[3]}'
}

# Without a window manager first: one that has run leaves traces on the
# display that change how programs hand the keyboard on.
echo "== without a window manager"
# Level 1 of the shipped set: three tiles in a row, the hero on the left
# one, so Right is a step. First on the fresh display: once programs have
# come and gone, the X server may hand the keyboard on differently.
start_game no
measure
before=$(hero)
xdotool mousemove $((IX + IW - 156 + 25)) $((IY + 29)) click 1 # the information dialog
sleep "$wait_s"
xdotool mousemove 1 1 # the pointer off the window
xdotool key Return # closes the dialog
sleep "$wait_s"
xdotool key Right
sleep "$wait_s"
after=$(hero)
if [[ -n "$before" && "$before" != "$after" ]]; then
    ok "after a dialog, pointer off the window, Right moves the hero ($before -> $after)"
else
    bad "after a dialog, pointer off the window, Right did not move the hero ($before -> $after)"
fi

start_game no
measure
before=$(hero)
xdotool keydown Right
sleep 1.5
xdotool keyup Right
sleep "$wait_s"
after=$(hero)
start_x=${before%,*}
one_step=$((${after%,*} - start_x))
if [[ -n "$after" ]] && ((one_step > 0 && one_step < IW / 8)); then
    ok "Right held for 1.5 s moves the hero one cell ($before -> $after)"
else
    bad "Right held for 1.5 s: hero $before -> ${after:-gone}"
fi

start_game no
for size in "900 500" "900 500" "400 300"; do
    xdotool windowsize "$win" $size
    sleep "$wait_s"
    expect_ratio "asked for ${size/ /x}"
done

echo "== under openbox, screen ${screen_w}x${screen_h}"
start_game yes
measure
if [[ "${OW}x${OH}+${OX}+${OY}" == "680x510+$(((screen_w - 680) / 2))+$(((screen_h - 510) / 2))" ]]; then
    ok "first window: $(outer)"
else
    bad "first window: $(outer), wanted 680x510 outside, centred by that"
fi
for size in "900 500" "900 500" "800 700" "400 300"; do
    xdotool windowsize "$win" $size
    sleep "$wait_s"
    expect_ratio "asked for ${size/ /x} inside"
done
xdotool windowsize "$win" 900 651
sleep "$wait_s"
measure
drag $((OX + OW / 2)) $((OY + OH - 2)) 0 -120
expect_ratio "bottom edge dragged up 120"
measure
drag $((OX + OW - 1)) $((OY + OH / 2)) -120 0
expect_ratio "right edge dragged left 120"
measure
drag $((OX + OW / 2)) $((OY + OH - 2)) 0 90
expect_ratio "bottom edge dragged down 90"
measure
drag $((OX + OW / 2)) $((OY + OH - 2)) 0 -60 1
expect_ratio "bottom edge dragged up 60, held still a second before letting go"
measure
drag $((OX + OW - 1)) $((OY + OH - 2)) -50 -20
expect_ratio "corner dragged"

# At its smallest in the screen's top left corner there is room on its
# right for a narrowed rules window.
xdotool windowsize "$win" 400 300
sleep "$wait_s"
measure
xdotool windowmove "$win" 0 0
sleep "$wait_s"
measure
xdotool mousemove $((IX + IW - 104 + 25)) $((IY + 29)) click 1
sleep "$wait_s"
viewer=$(xdotool search --onlyvisible --name 'Rules|Regeln|Hilfe|Help' | head -1)
if [[ -z "$viewer" ]]; then
    bad "rules window: not found"
else
    game_left=$OX game_right=$((OX + OW))
    measure "$viewer"
    if ((OX >= 0 && OY >= 0 && OX + OW <= screen_w && OY + OH <= screen_h)); then
        ok "rules window within the screen: $(outer)"
    else
        bad "rules window not within the screen: $(outer)"
    fi
    if ((OX == game_right)); then
        ok "rules window right of the game (game ${game_left}..${game_right})"
    else
        bad "rules window not right of the game (game ${game_left}..${game_right})"
    fi
    icon=$(xprop -id "$viewer" _NET_WM_ICON | md5sum)
    if [[ "$icon" == "$(xprop -id "$win" _NET_WM_ICON | md5sum)" ]]; then
        ok "rules window has the game's icon"
    else
        bad "rules window has another icon than the game"
    fi
fi

start_game yes "MainForm=200,0,1,100,100,1000,751"
measure
if [[ "${IW}x${IH}" == "900x651" ]]; then
    ok "stored placement closed at 900x651 inside: $(outer)"
else
    bad "stored placement closed at 900x651 inside: $(outer)"
fi

echo "$wrong wrong"
exit "$wrong"
