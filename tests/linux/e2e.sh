#!/usr/bin/env bash
# The installed Linux program on the X display, driven with real input (xdotool). A
# stand-in xdg-open, first in PATH, records what the program asked the desktop to open.
# Usage: e2e.sh BUILD_DIR SOURCE_DIR ARTIFACT_DIR
set -euo pipefail

build=$1
source=$2
artifacts=$3
here=$(cd "$(dirname "$0")" && pwd)

[ -n "${DISPLAY:-}" ] || { echo "e2e.sh: no X display"; exit 1; }

work=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

passes=0
failures=0
check() { # check DESCRIPTION COMMAND...
    local what=$1
    shift
    if "$@"; then
        echo "ok   - $what"
        passes=$((passes + 1))
    else
        echo "FAIL - $what"
        failures=$((failures + 1))
    fi
}

cmake --install "$build" --prefix "$work/prefix" >/dev/null
mkdir -p "$work/home" "$work/bin" "$work/runtime" "$artifacts"
chmod 700 "$work/runtime"
# Qt hands xdg-open a file URL; the stand-in records the path it names.
cat >"$work/bin/xdg-open" <<STANDIN
#!/bin/sh
python3 -c 'import sys, urllib.parse; print(urllib.parse.unquote(urllib.parse.urlparse(sys.argv[1]).path))' "\$1" >>"$work/opened.log"
STANDIN
chmod +x "$work/bin/xdg-open"
touch "$work/opened.log"

export HOME=$work/home PATH=$work/bin:$PATH XDG_RUNTIME_DIR=$work/runtime
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION

folder="$HOME/Korvel"
names=("МСФО 20.doc" "МСФО 41.doc" "Закон РК от 10 марта 2004 года № 533-II.doc"
       "Методические рекомендации по применению МСБУ 41.doc" "Налоговая учетная политика.doc")
tops=(16 64 104 152 200)

opened() { wc -l <"$work/opened.log"; }
wait_opened() { # wait until the log has $1 lines
    for _ in $(seq 50); do [ "$(opened)" -ge "$1" ] && return 0; sleep 0.1; done
    return 1
}
# The centre of button n, in the window: the page lies at (10, 33) in this style.
click_button() {
    xdotool mousemove --window "$window" $((18 + 128)) $((33 + ${tops[$1]} + 12)) click 1
}

"$work/prefix/bin/Korvel" &
pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Korvel$' | head -n 1)
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
check "the window opens at (227, 285)" test "$X,$Y" = "227,285"
check "its client area is 477 × 289" test "${WIDTH}x$HEIGHT" = "477x289"
check "the document folder exists at start" test -d "$folder"

# Keys go to the focused window, as from a keyboard; with no window manager we give focus.
xdotool windowfocus --sync "$window"
import -window root -crop "${WIDTH}x$HEIGHT+$X+$Y" "$artifacts/korvel-linux.png"

# Button 1 from the keyboard: the focus starts on the tab, Tab moves to Button1, Enter.
xdotool key Tab Return
check "Tab, Enter opens the first document" wait_opened 1
# The others with the mouse.
for n in 1 2 3 4; do
    click_button "$n"
    check "a click on button $((n + 1)) opens its document" wait_opened $((n + 1))
done

for n in 0 1 2 3 4; do
    path="$folder/${names[$n]}"
    check "row $((n + 1)) was asked for by its path" test "$(sed -n "$((n + 1))p" "$work/opened.log")" = "$path"
    check "row $((n + 1)) holds the document's bytes" cmp -s "$path" "$source/resources/documents/DOC$((n + 1)).doc"
done
check "no file is named after row 4's caption" test ! -e "$folder/МСБУ 41.doc"
check "the folder holds the five documents and nothing else" test "$(ls -A "$folder" | wc -l)" = 5

# A failure: a folder where the first document goes. One error box, no open request.
rm -f "$folder/${names[0]}"
mkdir "$folder/${names[0]}"
click_button 0
sleep 1
boxes=$(xdotool search --onlyvisible --name '^Korvel$' | grep -vx "$window" || true)
check "a failed press shows an error box" test -n "$boxes"
check "a failed press asks for nothing to be opened" test "$(opened)" = 5
if [ -n "$boxes" ]; then
    box=$(head -n 1 <<<"$boxes")
    eval "$(xdotool getwindowgeometry --shell "$box")"
    import -window root -crop "${WIDTH}x$HEIGHT+$X+$Y" "$artifacts/korvel-linux-error.png"
    xdotool windowfocus --sync "$box"
    xdotool key Return
    sleep 0.5
    check "OK closes the box" test -z "$(xdotool search --onlyvisible --name '^Korvel$' | grep -vx "$window" || true)"
fi
rmdir "$folder/${names[0]}"
click_button 0
check "the button works again afterwards" wait_opened 6

# Closing the window ends the program with exit code 0; the documents stay.
python3 "$here/close-window.py" "$window"
status=0
timeout 10 tail --pid="$pid" -f /dev/null || status=124
wait "$pid" || status=$?
pid=
check "closing the window ends the program with exit code 0" test "$status" = 0
check "the documents stay" test "$(ls -A "$folder" | wc -l)" = 5

[ "$failures" = 0 ] || { echo "Asked to open:"; cat "$work/opened.log"; }
echo "$passes passed, $failures failed"
[ "$failures" = 0 ]
