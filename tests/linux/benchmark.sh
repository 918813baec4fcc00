#!/usr/bin/env bash
# Figures for the Linux program, measured on the X display (run under xvfb-run if there is
# none). Not a test: the numbers depend on the machine.
#   tests/linux/benchmark.sh [BUILD_DIR]      (default build/linux; build it first)
# 1. Start-up to the first shown window, and peak memory, against a minimal Qt Widgets
#    program with one empty window, both run in the same run.
# 2. The time from a click to the open request, against a bare write, fsync and rename of
#    the same bytes.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build/linux}
runs=${RUNS:-10}
[ -n "${DISPLAY:-}" ] || { echo "benchmark.sh: no X display; run it under xvfb-run"; exit 1; }

work=$(mktemp -d)
trap 'pkill -P $$ 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/home" "$work/bin" "$work/runtime"
chmod 700 "$work/runtime"
export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime PATH=$work/bin:$PATH
cat >"$work/bin/xdg-open" <<STANDIN
#!/bin/sh
date +%s%N >>"$work/opened.log"
STANDIN
chmod +x "$work/bin/xdg-open"

now() { date +%s%N; }
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

# Start-up: from exec to the window being visible; then its peak resident memory.
start_up() { # program title → "milliseconds kilobytes"
    local started pid shown
    started=$(now)
    "$1" &
    pid=$!
    # Polled every 10 ms: xdotool's own --sync waits half a second between looks.
    for _ in $(seq 2000); do
        xdotool search --onlyvisible --name "^$2\$" >/dev/null 2>&1 && break
        sleep 0.01
    done
    shown=$(now)
    sleep 0.3
    local peak
    peak=$(awk '/VmHWM/ { print $2 }' "/proc/$pid/status")
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    echo "$(((shown - started) / 1000000)) $peak"
}

for program in Korvel Minimal; do
    binary=$build/app/Korvel
    [ "$program" = Minimal ] && binary=$build/tests/bench_minimal_window
    : >"$work/$program.txt"
    for _ in $(seq "$runs"); do start_up "$binary" "$program" >>"$work/$program.txt"; done
done

# A click: the stand-in xdg-open notes when it is asked; the click is sent just before.
"$build/app/Korvel" &
korvel=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Korvel$' | head -n 1)
xdotool windowfocus --sync "$window"
: >"$work/clicks.txt"
for _ in $(seq "$runs"); do
    : >"$work/opened.log"
    clicked=$(now)
    xdotool mousemove --window "$window" 146 61 click 1
    for _ in $(seq 200); do [ -s "$work/opened.log" ] && break; sleep 0.01; done
    echo $((($(head -n 1 "$work/opened.log") - clicked) / 1000)) >>"$work/clicks.txt"
done
kill "$korvel"
bare=$("$build/tests/bench_bare_write" resources/documents/DOC1.doc "$HOME/Korvel" 50)

printf '%-34s %12s %14s\n' "" "start-up ms" "peak RSS KiB"
for program in Korvel Minimal; do
    printf '%-34s %12s %14s\n' "$program (median of $runs)" \
        "$(cut -d' ' -f1 "$work/$program.txt" | median)" "$(cut -d' ' -f2 "$work/$program.txt" | median)"
done
printf '\n%-34s %12s\n' "" "µs"
printf '%-34s %12s\n' "click → open request (median)" "$(median <"$work/clicks.txt")"
printf '%-34s %12s\n' "bare write+fsync+rename (median)" "$bare"
