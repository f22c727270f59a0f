#!/usr/bin/env bash
# The window program as the window system sees it, under a private X server: the titles the
# window system shows for the main window and its file dialog, and the CPU the idle window
# uses while another program owns the clipboard (the usual state of a desktop).
#
#   x11_desktop_test.sh TALLYON_PROGRAM
#
# Exits 77 (skipped) when Xvfb, xdotool or xclip is missing.
set -uo pipefail
program=$(realpath "${1:?usage: x11_desktop_test.sh TALLYON_PROGRAM}")
for tool in Xvfb xdotool xclip; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool is missing"; exit 77; }
done

work=$(mktemp -d)
export HOME=$work/home XDG_CONFIG_HOME=$work/home/.config XDG_RUNTIME_DIR=$work/run
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
unset WAYLAND_DISPLAY
export QT_QPA_PLATFORM=xcb

# A display number that no other server holds.
display=
for n in $(seq 140 199); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=:$n; break; fi
done
[ -n "$display" ] || { echo "no free display"; exit 1; }
Xvfb "$display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
app=
owner=
cleanup() {
  [ -n "$app" ] && kill "$app" 2>/dev/null
  [ -n "$owner" ] && kill "$owner" 2>/dev/null
  kill "$xvfb" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 100); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.05; done

failed=0
expect_eq() { # what, expected, actual
  if [ "$2" == "$3" ]; then echo "ok: $1"; else echo "FAILED: $1: expected '$2', got '$3'"; failed=1; fi
}

# Another program owns the clipboard for the whole run.
printf 'foreign text' | xclip -selection clipboard -loops 0 &
owner=$!

cd "$work"
printf '1+2 ==> 3 \r\n' >a.tyq
"$program" a.tyq >"$work/app.log" 2>&1 &
app=$!
window=
for _ in $(seq 200); do
  window=$(xdotool search --onlyvisible --pid "$app" 2>/dev/null | head -n 1)
  [ -n "$window" ] && break
  sleep 0.05
done
[ -n "$window" ] || { echo "FAILED: no window"; cat "$work/app.log"; exit 1; }
sleep 1

expect_eq "main window title" "a.tyq - Tallyon" "$(xdotool getwindowname "$window")"

# Idle CPU over three seconds, in clock ticks (100 a second): an idle window uses none,
# also after the user clicked into it.
ticks() { awk '{ print $14 + $15 }' "/proc/$app/stat"; }
xdotool windowfocus --sync "$window" 2>/dev/null
xdotool mousemove --window "$window" 200 200 click 1
sleep 1
before=$(ticks)
sleep 3
used=$(($(ticks) - before))
if [ "$used" -le 6 ]; then
  echo "ok: idle CPU ($used ticks in 3 s)"
else
  echo "FAILED: idle window used $used clock ticks in 3 s while another program owned the clipboard"
  failed=1
fi

# The open dialog's title, exactly as its caption.
xdotool windowfocus --sync "$window" 2>/dev/null
xdotool key --window "$window" F3
dialog=
for _ in $(seq 100); do
  dialog=$(xdotool search --onlyvisible --pid "$app" --name "Open" 2>/dev/null | grep -v "^$window\$" | head -n 1)
  [ -n "$dialog" ] && break
  sleep 0.05
done
expect_eq "open dialog title" "Open - Tallyon" "$([ -n "$dialog" ] && xdotool getwindowname "$dialog")"

exit $failed
