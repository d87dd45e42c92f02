#!/usr/bin/env bash
# Runs the program on a show and reports what a user's machine pays for it:
# the time from start until the window is on the screen, the share of one
# core the whole process uses while the show idles after the title (the
# 10 ms timer draws 100 frames a second), and the peak resident memory.
#
#   bash bench/show_profile.sh BUILD_DIR [SHOW_DIR]
#
# Needs an X server in DISPLAY and xwininfo, xdotool. The show folder is
# copied to a temporary folder first (the program writes its extraction
# files beside the archive). Audio goes to SDL's dummy driver.
set -euo pipefail

build=$(realpath "${1:?usage: show_profile.sh BUILD_DIR [SHOW_DIR]}")
show=$(realpath "${2:-$build/demo-show}")
binary=$build/vellumo
idle_seconds=${IDLE_SECONDS:-10}

[ -n "${DISPLAY:-}" ] || { echo "show_profile: no DISPLAY" >&2; exit 1; }
[ -x "$binary" ] || { echo "show_profile: no program at $binary" >&2; exit 1; }
[ -f "$show/data.zuo" ] || { echo "show_profile: no data.zuo in $show" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -r "$show"/. "$work"/

ticks=$(getconf CLK_TCK)
now() { date +%s.%N; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

cd "$work"
start=$(now)
SDL_AUDIODRIVER=dummy ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0} "$binary" 2>"$work/stderr.txt" &
pid=$!

window=""
for _ in $(seq 1 3000); do
    window=$(xwininfo -root -tree 2>/dev/null | awk '/"Emberfall II":/ && !found { print $1; found = 1 }')
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.01
done
shown=$(now)
[ -n "$window" ] || { echo "show_profile: no window appeared" >&2; kill "$pid" 2>/dev/null; exit 1; }

# Past the title (8.5 s), then measure a quiet stretch.
sleep 10
before=$(cpu_ticks "$pid")
t0=$(now)
sleep "$idle_seconds"
after=$(cpu_ticks "$pid")
t1=$(now)
peak=$(awk '/VmHWM/ { print $2 }' "/proc/$pid/status")

xdotool windowfocus "$window" 2>/dev/null || true
xdotool key Escape; sleep 0.5; xdotool key Escape
wait "$pid" || true

awk -v s="$start" -v w="$shown" -v b="$before" -v a="$after" -v t0="$t0" -v t1="$t1" -v hz="$ticks" -v kb="$peak" 'BEGIN {
    printf "start to window on screen: %.0f ms\n", (w - s) * 1000
    printf "idle CPU share of one core: %.1f %% (over %.1f s)\n", (a - b) / hz / (t1 - t0) * 100, t1 - t0
    printf "peak resident memory: %.1f MiB\n", kb / 1024
}'
