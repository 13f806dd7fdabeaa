#!/usr/bin/env bash
# Starts a program under its own Xvfb server and checks that it opens a window with the given
# title and the frame size the reader's rule gives for the screen (H * 0.94 high and two thirds
# of that wide, the page's shape; H = 1024 here: with no window manager the usable desktop is
# the whole screen).
# Usage: window_smoke.sh <program> <title> [program arguments...]
set -euo pipefail
program=$1
title=$2
shift 2
if ! command -v Xvfb >/dev/null || ! command -v xdotool >/dev/null; then
  echo "Xvfb or xdotool missing: skipped"
  exit 77
fi

# Our own X server on a display number no one else is likely to pick (derived from our pid;
# the next one if it is taken), so parallel runs and other X servers do not meet.
xvfb=""
cleanup() {
  [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true
  [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
  [ -n "${log:-}" ] && rm -f "$log"
}
trap cleanup EXIT
n=$((100 + $$ % 800))
for _ in $(seq 20); do
  n=$((n + 1))
  [ -e "/tmp/.X$n-lock" ] && continue
  # -noreset: by default the server resets when its last client leaves, and a program that
  # connects during that reset is refused (SDL then falls back to its offscreen driver).
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp -noreset 2>/dev/null &
  xvfb=$!
  # Ready when it answers a client, not merely when its socket appears.
  ready=""
  for _ in $(seq 100); do
    if DISPLAY=":$n" xdotool getdisplaygeometry >/dev/null 2>&1; then ready=1; break; fi
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.1
  done
  # A server that lost the display to another one started at the same moment exits; then
  # the answer came from the other one and the display is not ours.
  sleep 0.3
  [ -n "$ready" ] && kill -0 "$xvfb" 2>/dev/null && break
  kill "$xvfb" 2>/dev/null || true
  xvfb=""
done
if [ -z "$xvfb" ]; then
  echo "FAIL: Xvfb did not start"
  exit 1
fi
export DISPLAY=":$n"

log=$(mktemp)
"$program" "$@" > "$log" 2>&1 &
pid=$!
wid=""
for _ in $(seq 300); do
  wid=$(xdotool search --name "^${title}\$" 2>/dev/null | head -n1 || true)
  [ -n "$wid" ] && break
  if ! kill -0 "$pid" 2>/dev/null; then break; fi
  sleep 0.1
done
if [ -z "$wid" ]; then
  echo "FAIL: no window titled \"$title\" appeared; the program said:"
  cat "$log"
  exit 1
fi
expected=$(awk "BEGIN { h = 1024; printf \"%dx%d\", int(h * 0.94 * 2 / 3 + 0.5), int(h * 0.94 + 0.5) }")
# The window may be shown before it takes its size: wait for the size (a loaded machine takes
# longer), bounded only so that a wrong size fails instead of hanging.
size=""
for _ in $(seq 300); do
  size=$(xdotool getwindowgeometry "$wid" 2>/dev/null | sed -n "s/.*Geometry: //p" || true)
  [ "$size" = "$expected" ] && break
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
name=$(xdotool getwindowname "$wid")
echo "window \"$name\" $size (expected \"$title\" $expected)"
[ "$name" = "$title" ] || { echo "FAIL: title"; exit 1; }
[ "$size" = "$expected" ] || { echo "FAIL: size"; exit 1; }
echo "1 passed, 0 failed"
