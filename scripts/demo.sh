#!/usr/bin/env bash
# Builds Vellumo with its demo show "Emberfall II" and runs the show.
#
#   bash scripts/demo.sh
#
# On a fresh Debian machine it first installs what the build needs (as root;
# otherwise it prints the apt-get line to run). It builds into build/ and
# runs the show from build/demo-show in a window. Without a usable display it
# runs the show on a virtual X server for about half a minute instead, and
# saves screenshots of the title, the first track, a track change and the
# closing credits.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD="$ROOT/build"
SHOW="$BUILD/demo-show"
SHOTS="$BUILD/demo-screenshots"

say() { printf 'demo: %s\n' "$*"; }

# --- packages ---------------------------------------------------------------

source "$ROOT/scripts/packages.sh"
vlo_install_packages

# --- build ------------------------------------------------------------------

say "building into $BUILD"
cmake -S "$ROOT" -B "$BUILD" -DCMAKE_BUILD_TYPE=Release -DVLO_TESTS=OFF -DVLO_DEMO=ON
cmake --build "$BUILD" -j "$(nproc)"
if [[ ! -x "$BUILD/vellumo" || ! -f "$SHOW/data.zuo" ]]; then
    say "the build did not produce $BUILD/vellumo and $SHOW/data.zuo"
    exit 1
fi

# --- run in a window when there is a display ---------------------------------

if [[ -n "${DISPLAY:-}" ]] && xdpyinfo >/dev/null 2>&1; then
    say "running the show on $DISPLAY (Escape quits; the credits play out first)"
    cd "$SHOW"
    exec "$BUILD/vellumo"
fi

# --- otherwise: a virtual X server, a bounded run and screenshots -------------

say "no usable display (DISPLAY='${DISPLAY:-}'): running the show on a virtual X server for about 30 s"

n=90
while [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]]; do
    n=$((n + 1))
done
export DISPLAY=":$n"
# The dummy audio driver plays at the real pace without a sound card, so the
# tracks still take their time.
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"

xvfb_pid=""
show_pid=""
cleanup() {
    if [[ -n "$show_pid" ]] && kill -0 "$show_pid" 2>/dev/null; then
        kill "$show_pid" 2>/dev/null || true
        wait "$show_pid" 2>/dev/null || true
    fi
    if [[ -n "$xvfb_pid" ]] && kill -0 "$xvfb_pid" 2>/dev/null; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
}
trap cleanup EXIT

Xvfb "$DISPLAY" -screen 0 1024x768x24 -noreset >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do
    xdpyinfo >/dev/null 2>&1 && break
    sleep 0.2
done
if ! xdpyinfo >/dev/null 2>&1; then
    say "the virtual X server on $DISPLAY did not start"
    exit 1
fi

rm -rf "$SHOTS"
mkdir -p "$SHOTS"
now_ms() { date +%s%3N; }
start=$(now_ms)
(cd "$SHOW" && exec "$BUILD/vellumo") >"$SHOTS/vellumo.log" 2>&1 &
show_pid=$!

# Sleeps until the given time (milliseconds) after the start of the show.
wait_until() {
    local left=$(($1 - ($(now_ms) - start)))
    if ((left > 0)); then
        sleep "$(printf '%d.%03d' $((left / 1000)) $((left % 1000)))"
    fi
}

window=""
for _ in $(seq 40); do
    window=$(xdotool search --name 'Emberfall II' 2>/dev/null | head -n 1 || true)
    [[ -n "$window" ]] && break
    kill -0 "$show_pid" 2>/dev/null || break
    sleep 0.25
done

# Saves the screen as $SHOTS/<name>.png, cut to the show's window when known.
shot() {
    local file="$SHOTS/$1.png"
    if ! kill -0 "$show_pid" 2>/dev/null; then
        say "the show had already ended before the '$1' screenshot"
        return
    fi
    if ! import -window root "$file"; then
        say "could not take the '$1' screenshot"
        return
    fi
    if [[ -n "$window" ]]; then
        local geometry x y w h
        geometry=$(xdotool getwindowgeometry --shell "$window" 2>/dev/null || true)
        x=$(sed -n 's/^X=//p' <<<"$geometry")
        y=$(sed -n 's/^Y=//p' <<<"$geometry")
        w=$(sed -n 's/^WIDTH=//p' <<<"$geometry")
        h=$(sed -n 's/^HEIGHT=//p' <<<"$geometry")
        if [[ -n "$x" && -n "$w" ]]; then
            convert "$file" -crop "${w}x${h}+${x}+${y}" +repage "$file"
        fi
    fi
    say "saved $file"
}

if [[ -z "$window" ]]; then
    say "the show's window did not appear; see $SHOTS/vellumo.log"
fi

wait_until 4500
shot 1-title
wait_until 12000
shot 2-first-track
# Each later moment is timed from the key or click that starts it.
event=$(($(now_ms) - start))
if [[ -n "$window" ]]; then
    # The "next" button: the fourth of the player buttons along the bottom
    # right, in window pixels.
    xdotool mousemove --window "$window" 545 530 click 1
    say "pressed 'next'"
fi
wait_until $((event + 4500))
shot 3-after-next
event=$(($(now_ms) - start))
if [[ -n "$window" ]]; then
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    xdotool key Escape
    say "pressed Escape: the closing credits run, then the program ends"
fi
wait_until $((event + 6500))
shot 4-credits

# The closing sequence ends the program 10 s after Escape; allow 12 s.
deadline=$((event + 12000))
while kill -0 "$show_pid" 2>/dev/null; do
    if (($(now_ms) - start > deadline)); then
        say "the show was still running $(((deadline - event) / 1000)) s after Escape; stopping it"
        kill "$show_pid" 2>/dev/null || true
        break
    fi
    sleep 0.5
done
status=0
wait "$show_pid" 2>/dev/null || status=$?
show_pid=""
say "the show ended with status $status"
say "screenshots are in $SHOTS"
