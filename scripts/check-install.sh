#!/usr/bin/env bash
# Checks the game as it is installed: into a temporary DESTDIR with
# `cmake --install` (or, with --deb, unpacked from the Debian package that
# cpack builds), the desktop entry and the AppStream metadata validate, the
# program the entry's Exec line names answers --version and refuses an
# unknown option with status 2, and, started from the install under Xvfb, it
# finds its levels, music and help and saves a named game into a temporary
# XDG_DATA_HOME, while nothing in the install changes.
#   scripts/check-install.sh [--deb] [BUILD-FOLDER]
# Every wait polls for what it waits for, up to a generous deadline.
set -euo pipefail
cd "$(dirname "$0")/.."

from=install
if [[ "${1:-}" == --deb ]]; then
    from=deb
    shift
fi
build=$(realpath "${1:-build}")

if [[ -z "${TUMBLEWICK_IN_XVFB:-}" ]]; then
    export TUMBLEWICK_IN_XVFB=1
    args=()
    [[ $from == deb ]] && args+=(--deb)
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$0" "${args[@]}" "$build"
fi

Deadline=60 # seconds for each wait; a pass takes a few
work=$(mktemp -d)
root=$work/root
game=""
wm=""
cleanup() {
    [[ -n "$game" ]] && kill "$game" 2>/dev/null
    [[ -n "$wm" ]] && kill "$wm" 2>/dev/null
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "check-install: $*" >&2
    [[ -s "$work/game.log" ]] && sed 's/^/  game: /' "$work/game.log" >&2
    if [[ -n "${TUMBLEWICK_FAILED_SHOT:-}" ]]; then
        import -window root "$TUMBLEWICK_FAILED_SHOT" 2>/dev/null || true
        for w in $(windows); do echo "  window $w: $(xdotool getwindowname "$w")" >&2; done
    fi
    exit 1
}

# Runs the command until it succeeds; fails with the description after the
# deadline.
poll() {
    local what=$1
    shift
    local end=$((SECONDS + Deadline))
    until "$@"; do
        ((SECONDS < end)) || fail "gave up waiting: $what"
        sleep 0.2
    done
}

# --- the install ------------------------------------------------------------
if [[ $from == deb ]]; then
    rm -rf "$build/package"
    cpack --config "$build/CPackConfig.cmake" -G DEB -B "$build/package" >/dev/null
    deb=$(echo "$build"/package/tumblewick_*.deb)
    [[ -f "$deb" ]] || fail "no package was built"
    depends=$(dpkg-deb -f "$deb" Depends)
    echo "Package $(basename "$deb"), Depends: $depends"
    for library in libqt6widgets6 libqt6svg6 libsdl2-2.0-0 libfluidsynth3; do
        [[ "$depends" == *"$library "* ]] || fail "the package does not depend on $library"
    done
    dpkg-deb -x "$deb" "$root"
else
    DESTDIR="$root" cmake --install "$build" --prefix /usr >/dev/null
    echo "Installed files:"
    (cd "$root" && find . -type f | sort | sed 's/^\./  /')
fi
prefix=$root/usr
touch "$work/installed"
(cd "$root" && find . | sort) >"$work/installed-files"

desktops=("$prefix"/share/applications/*.desktop)
((${#desktops[@]} == 1)) || fail "expected one desktop entry"
desktop=${desktops[0]}
id=$(basename "$desktop" .desktop)
desktop-file-validate "$desktop" || fail "the desktop entry does not validate"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >/dev/null ||
    fail "the AppStream metadata does not validate"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[[ -f "$prefix/share/icons/hicolor/scalable/apps/$icon.svg" ]] || fail "no scalable icon $icon"
for size in 16 32 48 256; do
    [[ $(file -b "$prefix/share/icons/hicolor/${size}x${size}/apps/$icon.png") == \
        *"PNG image data, $size x $size"* ]] || fail "no $size px icon"
done
gzip -t "$prefix/share/man/man6/tumblewick.6.gz" || fail "no manual page"

# The program the menu entry starts, found as the desktop finds it.
read -r -a command <<<"$(sed -n 's/^Exec=//p' "$desktop")"
export PATH="$prefix/bin:$PATH"
[[ $(command -v "${command[0]}") == "$prefix/bin/tumblewick" ]] ||
    fail "the Exec line does not start the installed program"
[[ $("${command[@]}" --version | head -1) == "Tumblewick 2.0" ]] || fail "--version"
status=0
"${command[@]}" --no-such-option 2>/dev/null || status=$?
((status == 2)) || fail "an unknown option ended with status $status, not 2"

# --- a game started from the install -----------------------------------------
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
mkdir -p "$HOME" "$XDG_CONFIG_HOME/QuirkGames/Tumblewick"
printf '[common]\ntongue=0\nsound=0\nmusic=1\n' >"$XDG_CONFIG_HOME/QuirkGames/Tumblewick/V2.conf"
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$work/audio.raw
games=$XDG_DATA_HOME/QuirkGames/Tumblewick/games

openbox >/dev/null 2>&1 &
wm=$!
# A window mapped while openbox is still starting may never be managed, and
# so never shown: the game starts once the manager has announced itself.
wm_ready() { wmctrl -m >/dev/null 2>&1; }
poll "the window manager" wm_ready
"${command[@]}" >"$work/game.log" 2>&1 &
game=$!

# The visible windows of the game, one id a line.
windows() { xdotool search --onlyvisible --pid "$game" 2>/dev/null || true; }
# The one visible window of the game that is not among the given ones.
other_window() {
    local w
    for w in $(windows); do
        [[ " $* " == *" $w "* ]] || {
            echo "$w"
            return 0
        }
    done
    return 1
}
found_main() { main=$(xdotool search --all --onlyvisible --pid "$game" --name '^Tumblewick 2\.0' 2>/dev/null | head -1) && [[ -n "$main" ]]; }
poll "the main window (the level set was found)" found_main

# The first tick starts the music: the sound card file gets more than silence.
music_heard() { [[ -f "$SDL_DISKAUDIOFILE" ]] && (($(tr -d '\000' <"$SDL_DISKAUDIOFILE" | head -c 1 | wc -c) > 0)); }
poll "music in $SDL_DISKAUDIOFILE" music_heard

# The rules button, 104 pixels left of the right edge, opens the rules.
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool windowactivate --sync "$main" 2>/dev/null || true
xdotool mousemove --window "$main" $((WIDTH - 104 + 25)) 29 click 1
rules_shown() { help=$(xdotool search --all --onlyvisible --pid "$game" --name 'Rules of the game' 2>/dev/null | head -1) && [[ -n "$help" ]]; }
poll "the rules in the help window (the help file was found)" rules_shown
wmctrl -i -c "$help"
help_closed() { ! windows | grep -qx "$help"; }
poll "the help window to close" help_closed

# Closing asks "Do you really want to go?" (Yes), then for the game's name.
wmctrl -i -c "$main"
asked() { question=$(other_window "$main"); }
poll "the question before closing" asked
xdotool windowactivate --sync "$question" 2>/dev/null || true
xdotool key Return
save_dialog() { dialog=$(other_window "$main" "$question"); }
poll "the save dialog" save_dialog
xdotool windowactivate --sync "$dialog" 2>/dev/null || true
xdotool type --delay 20 "Installed"
# Enter belongs to the name; the check-mark button (296, 127, 50 x 50) takes it.
xdotool mousemove --window "$dialog" 321 152 click 1
ended() { ! kill -0 "$game" 2>/dev/null; }
poll "the game to end" ended
status=0
wait "$game" || status=$?
game=""
((status == 0)) || fail "the game ended with status $status"

saved=$games/Installed.twp
[[ -f "$saved" && $(stat -c %s "$saved") == 2000 ]] || fail "no saved game $saved"
# A file the game made and removed again (the help log's writability probe)
# is no change; one that is left or was rewritten is.
changed=$(find "$root" -type f -newer "$work/installed")
[[ -z "$changed" ]] || fail "the game wrote into the install: $changed"
diff <(cd "$root" && find . | sort) "$work/installed-files" >&2 ||
    fail "the game added to the install"
echo "check-install ($from): the installed game found its levels, music and help and saved into \$XDG_DATA_HOME"
