#!/usr/bin/env bash
# Runs the game under Xvfb with a window manager, plays the given xdotool
# steps, and takes a screenshot of the whole screen.
#   scripts/screenshot.sh shot.png [step ...]
# Each step is an xdotool command line ("key Right", "key shift+Down",
# "mousemove 300 200", "click 1") or "sleep SECONDS", or "shot NAME.png" for
# a screenshot in between, or "during SECONDS NAME.png xdotool-command" for a
# screenshot taken that long after the command started (an animation in
# flight). The game runs from build/game with its own
# settings in a fresh folder (English chosen, so no language question);
# TUMBLEWICK_SETTINGS=file puts that file in place instead.
# TUMBLEWICK_GEOMETRY=WxH sets the screen (default 1024x768).
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "$1")
shift

if [[ -z "${TUMBLEWICK_IN_XVFB:-}" ]]; then
    export TUMBLEWICK_IN_XVFB=1
    exec xvfb-run -a -s "-screen 0 ${TUMBLEWICK_GEOMETRY:-1024x768}x24" "$0" "$out" "$@"
fi

config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
mkdir -p "$config/QuirkGames/Tumblewick"
if [[ -n "${TUMBLEWICK_SETTINGS:-}" ]]; then
    cp "$TUMBLEWICK_SETTINGS" "$config/QuirkGames/Tumblewick/V2.conf"
else
    printf '[common]\ntongue=0\n' >"$config/QuirkGames/Tumblewick/V2.conf"
fi

openbox >/dev/null 2>&1 &
wm=$!
# A window mapped while openbox is still starting may never be shown.
for _ in $(seq 50); do
    wmctrl -m >/dev/null 2>&1 && break
    sleep 0.1
done
XDG_CONFIG_HOME="$config" build/game/tumblewick &
game=$!
window=$(xdotool search --sync --name 'Tumblewick' | head -1)
xdotool windowactivate --sync "$window" 2>/dev/null || true
sleep 1

for step in "$@"; do
    case "$step" in
    sleep\ *) sleep "${step#sleep }" ;;
    shot\ *) import -window root "$(dirname "$out")/${step#shot }" ;;
    during\ *)
        read -r _ delay name command <<<"$step"
        xdotool $command &
        sleep "$delay"
        import -window root "$(dirname "$out")/$name"
        wait $! || true
        ;;
    *) xdotool $step ;;
    esac
done
sleep 0.3
import -window root "$out"
kill "$game" 2>/dev/null || true
kill "$wm" 2>/dev/null || true
wait 2>/dev/null || true
