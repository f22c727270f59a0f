#!/usr/bin/env bash
# Start-up time (launch to a mapped window) and idle memory of the Tallyon window program,
# side by side with another Qt calculator, under a virtual X server.
#
#   bench/app/startup.sh BUILD_DIR [RUNS] [OTHER_PROGRAM]
#
# Needs Xvfb, xdotool and the other program (speedcrunch by default); the last two are for
# this measurement only and are not in scripts/install-deps. Each program starts RUNS times
# (default 10) with a fresh settings folder; the time is taken from launch until a window
# of the process is mapped; memory is read three seconds later (resident set and
# proportional set, which shares libraries fairly). Prints the median of each.
set -euo pipefail

build=${1:?usage: startup.sh BUILD_DIR [RUNS] [OTHER_PROGRAM]}
runs=${2:-10}
other=${3:-speedcrunch}
tallyon="$build/bin/tallyon"

for tool in Xvfb xdotool "$other"; do
  command -v "$tool" >/dev/null || { echo "startup.sh: $tool is missing" >&2; exit 1; }
done

display=:$((90 + RANDOM % 9))
Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
work=$(mktemp -d)
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
export DISPLAY=$display
sleep 1

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

measure() {
  local name=$1; shift
  : >"$work/ms"; : >"$work/rss"; : >"$work/pss"
  for ((i = 0; i < runs; i++)); do
    rm -rf "$work/config"; mkdir -p "$work/config"
    local start=$(date +%s%N)
    XDG_CONFIG_HOME="$work/config" HOME="$work/config" "$@" >/dev/null 2>&1 &
    local pid=$!
    # xdotool's own --sync waits in half-second steps; poll finer.
    until xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do
      kill -0 "$pid" 2>/dev/null || { echo "startup.sh: $name ended before its window showed" >&2; exit 1; }
      sleep 0.02
    done
    local end=$(date +%s%N)
    echo $(((end - start) / 1000000)) >>"$work/ms"
    sleep 3
    awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" >>"$work/rss"
    awk '/^Pss:/ { print $2 }' "/proc/$pid/smaps_rollup" >>"$work/pss"
    kill "$pid"; wait "$pid" 2>/dev/null || true
  done
  printf '%-12s start-up %5d ms   idle RSS %7d kB   idle PSS %7d kB   (median of %d)\n' \
    "$name" "$(median <"$work/ms")" "$(median <"$work/rss")" "$(median <"$work/pss")" "$runs"
}

measure tallyon "$tallyon"
measure "$other" "$other"
