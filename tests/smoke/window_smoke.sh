#!/usr/bin/env bash
# Starts a program under Xvfb and checks that it opens a window with the given title and the
# frame size the reader's rule gives for the screen (H / 1.4 x H * 0.94, H = 1024 here: with no
# window manager the usable desktop is the whole screen).
# Usage: window_smoke.sh <program> <title> [program arguments...]
set -euo pipefail
program=$1
title=$2
shift 2
if ! command -v xvfb-run >/dev/null || ! command -v xdotool >/dev/null; then
  echo "xvfb-run or xdotool missing: skipped"
  exit 77
fi
export SMOKE_PROGRAM=$program SMOKE_TITLE=$title
exec xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  set -u
  "$SMOKE_PROGRAM" "$@" > /dev/null 2>&1 &
  pid=$!
  wid=""
  for _ in $(seq 300); do
    wid=$(xdotool search --name "^${SMOKE_TITLE}\$" 2>/dev/null | head -n1 || true)
    [ -n "$wid" ] && break
    if ! kill -0 "$pid" 2>/dev/null; then break; fi
    sleep 0.1
  done
  if [ -z "$wid" ]; then
    echo "FAIL: no window titled \"$SMOKE_TITLE\" appeared"
    kill "$pid" 2>/dev/null || true
    exit 1
  fi
  sleep 0.3  # let the window settle at its size
  name=$(xdotool getwindowname "$wid")
  size=$(xdotool getwindowgeometry "$wid" | sed -n "s/.*Geometry: //p")
  kill "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  expected=$(awk "BEGIN { h = 1024; printf \"%dx%d\", int(h / 1.4 + 0.5), int(h * 0.94 + 0.5) }")
  echo "window \"$name\" $size (expected \"$SMOKE_TITLE\" $expected)"
  [ "$name" = "$SMOKE_TITLE" ] || { echo "FAIL: title"; exit 1; }
  [ "$size" = "$expected" ] || { echo "FAIL: size"; exit 1; }
  echo "1 passed, 0 failed"
' smoke "$@"
