#!/usr/bin/env bash
# The CPU the running game takes while idle (twinkling stars, nothing else),
# over 10 seconds under Xvfb, in percent of one core.
#   tools/viewbench/idle_cpu.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-10}
if [[ -z "${TUMBLEWICK_IN_XVFB:-}" ]]; then
    export TUMBLEWICK_IN_XVFB=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
mkdir -p "$config/QuirkGames/Tumblewick"
printf '[common]\ntongue=0\nmusic=0\nsound=0\n' >"$config/QuirkGames/Tumblewick/V2.conf"
XDG_CONFIG_HOME="$config" build/game/tumblewick &
game=$!
xdotool search --sync --name Tumblewick >/dev/null
sleep 2
ticks() { awk '{print $14 + $15}' "/proc/$game/stat"; }
before=$(ticks)
sleep "$seconds"
after=$(ticks)
hz=$(getconf CLK_TCK)
kill "$game"
wait "$game" 2>/dev/null || true
awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" \
    'BEGIN { printf "idle CPU over %d s: %.2f %% of one core (%d ticks of 1/%d s)\n", s, 100 * t / hz / s, t, hz }'
