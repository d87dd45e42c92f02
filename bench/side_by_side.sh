#!/usr/bin/env bash
# Vellumo on the demo show against mpv showing the show's full-window
# background picture and playing its first track, on one private Xvfb:
# the share of one core each uses while nothing moves and its memory, then
# the ratio of the two. Memory is the private dirty memory at the end of the
# idle stretch (Private_Dirty of /proc/PID/smaps_rollup): the pages only this
# process holds and that cannot be dropped, which is what a program costs
# the machine. The peak resident set (from /usr/bin/time and
# /proc/PID/status) is printed as well; it also counts clean library pages
# the kernel can take back at any time. The programs take turns, run after
# run, so that other load on the machine falls on both alike; the order swaps
# every run.
#
#   bash bench/side_by_side.sh BUILD_DIR [RUNS]
#
# BUILD_DIR holds vellumo, demo-show/ and demo/staging/ (bash scripts/demo.sh
# builds them in build/). Needs Xvfb, xdpyinfo, /usr/bin/time and mpv; if mpv
# is missing: apt-get install mpv. Environment: SETTLE_SECONDS (default 12:
# past the title and its fade), IDLE_SECONDS (default 10: the measured
# stretch). Audio goes nowhere for both: SDL's dummy driver and mpv's null
# output, which both play at the real pace.
set -euo pipefail

build=$(realpath "${1:?usage: side_by_side.sh BUILD_DIR [RUNS]}")
runs=${2:-3}
settle=${SETTLE_SECONDS:-12}
idle=${IDLE_SECONDS:-10}
show=$build/demo-show
staging=$build/demo/staging

for tool in Xvfb xdpyinfo /usr/bin/time; do
    command -v "$tool" >/dev/null || { echo "side_by_side: $tool is missing" >&2; exit 1; }
done
command -v mpv >/dev/null || { echo "side_by_side: mpv is missing; install it with: apt-get install mpv" >&2; exit 1; }
[ -x "$build/vellumo" ] || { echo "side_by_side: no program at $build/vellumo" >&2; exit 1; }
[ -f "$show/data.zuo" ] || { echo "side_by_side: no data.zuo in $show" >&2; exit 1; }
[ -f "$staging/Vellumo.ini" ] || { echo "side_by_side: no $staging/Vellumo.ini" >&2; exit 1; }

# The background picture and the first track, as the configuration names them.
picture=$staging/$(awk '$1 == "mask:" { print $2; exit }' "$staging/Vellumo.ini")
track=$show/$(awk '/^\[vloMusic\]/ { on = 1; next } on && NF >= 3 { print $1; exit }' "$staging/Vellumo.ini")
[ -f "$picture" ] || { echo "side_by_side: no picture $picture" >&2; exit 1; }
[ -f "$track" ] || { echo "side_by_side: no track $track" >&2; exit 1; }

work=$(mktemp -d)
xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

display=""
for n in $(seq 140 199); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "side_by_side: no free X display number" >&2; exit 1; }
Xvfb "$display" -screen 0 1280x1024x24 -noreset -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do xdpyinfo -display "$display" >/dev/null 2>&1 && break; sleep 0.1; done
export DISPLAY=$display

ticks=$(getconf CLK_TCK)
now() { date +%s.%N; }
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

# Runs one program under /usr/bin/time: waits SETTLE_SECONDS, measures the
# CPU over IDLE_SECONDS, ends it with SIGTERM and prints
# "<cpu percent> <peak KiB from /proc> <peak KiB from time> <private dirty KiB>".
measure() {
    local name=$1 dir=$2
    shift 2
    local timing=$work/$name.time
    (cd "$dir" && exec /usr/bin/time -f '%M' -o "$timing" "$@") >"$work/$name.log" 2>&1 &
    local timer=$!
    local pid=""
    for _ in $(seq 100); do
        pid=$(cat "/proc/$timer/task/$timer/children" 2>/dev/null | awk '{ print $1 }')
        [ -n "$pid" ] && break
        sleep 0.05
    done
    [ -n "$pid" ] || { echo "side_by_side: $name did not start" >&2; return 1; }
    sleep "$settle"
    kill -0 "$pid" 2>/dev/null || { echo "side_by_side: $name ended early; see $work/$name.log" >&2; return 1; }
    local before after t0 t1 hwm dirty
    before=$(cpu_ticks "$pid"); t0=$(now)
    sleep "$idle"
    after=$(cpu_ticks "$pid"); t1=$(now)
    hwm=$(awk '/^VmHWM/ { print $2 }' "/proc/$pid/status")
    dirty=$(awk '/^Private_Dirty:/ { print $2 }' "/proc/$pid/smaps_rollup")
    kill -TERM "$pid" 2>/dev/null || true
    wait "$timer" 2>/dev/null || true
    local peak
    peak=$(grep -E '^[0-9]+$' "$timing" | tail -n 1)
    awk -v b="$before" -v a="$after" -v t0="$t0" -v t1="$t1" -v hz="$ticks" -v hwm="$hwm" -v peak="${peak:-0}" \
        -v dirty="${dirty:-0}" 'BEGIN { printf "%.2f %d %d %d\n", (a - b) / hz / (t1 - t0) * 100, hwm, peak, dirty }'
}

run_vellumo() {
    local copy=$work/show
    rm -rf "$copy"
    cp -r "$show" "$copy"
    SDL_AUDIODRIVER=dummy measure vellumo "$copy" "$build/vellumo"
}

run_mpv() {
    measure mpv "$work" mpv --no-config --vo=x11 --force-window=yes --geometry=700x600 \
        --cover-art-files="$picture" --ao=null "$track"
}

printf '%-4s %-8s %10s %18s %14s %14s\n' run program "CPU %" "private dirty MiB" "peak MiB/proc" "peak MiB/time"
: >"$work/results"
for run in $(seq 1 "$runs"); do
    if ((run % 2 == 1)); then order="vellumo mpv"; else order="mpv vellumo"; fi
    for program in $order; do
        result=$(run_"$program")
        echo "$program $result" >>"$work/results"
        read -r cpu hwm peak dirty <<<"$result"
        awk -v r="$run" -v p="$program" -v c="$cpu" -v h="$hwm" -v k="$peak" -v d="$dirty" \
            'BEGIN { printf "%-4s %-8s %10.2f %18.1f %14.1f %14.1f\n", r, p, c, d / 1024, h / 1024, k / 1024 }'
    done
done

awk '
    { cpu[$1] += $2; if ($3 > hwm[$1]) hwm[$1] = $3; if ($4 > peak[$1]) peak[$1] = $4; if ($5 > dirty[$1]) dirty[$1] = $5; n[$1]++ }
    END {
        vc = cpu["vellumo"] / n["vellumo"]; mc = cpu["mpv"] / n["mpv"]
        printf "mean idle CPU: vellumo %.2f %%, mpv %.2f %%, ratio vellumo/mpv %.2f\n", vc, mc, (mc > 0 ? vc / mc : 0)
        printf "private dirty memory (largest of the runs): vellumo %.1f MiB, mpv %.1f MiB, ratio %.2f\n",
            dirty["vellumo"] / 1024, dirty["mpv"] / 1024, (dirty["mpv"] > 0 ? dirty["vellumo"] / dirty["mpv"] : 0)
        printf "peak memory (/proc VmHWM): vellumo %.1f MiB, mpv %.1f MiB, ratio %.2f\n",
            hwm["vellumo"] / 1024, hwm["mpv"] / 1024, hwm["vellumo"] / hwm["mpv"]
        printf "peak memory (/usr/bin/time): vellumo %.1f MiB, mpv %.1f MiB, ratio %.2f\n",
            peak["vellumo"] / 1024, peak["mpv"] / 1024, (peak["mpv"] > 0 ? peak["vellumo"] / peak["mpv"] : 0)
    }' "$work/results"
