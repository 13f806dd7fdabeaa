#!/usr/bin/env bash
# How quickly the release reader answers a learner, measured as a learner meets it: a real
# window under Xvfb, real input (XTest), sound played into a PulseAudio null sink and heard on
# its monitor, memory and CPU from /proc. Every run starts the reader with fresh user folders
# (HOME, XDG dirs, so an empty Mesa shader cache too). Prints min / median / p90 / max per figure.
#
# usage: bench/response.sh [RUNS] [READER [BOOK]]   (defaults: 5, build/release/app/pagly)
# env:   PAGLY_BENCH_NICE=-10  run the reader and the X server at that niceness (needs root),
#                              to keep other work on a shared machine from skewing the figures
#        PAGLY_BENCH_TURN_PAUSE_MS=2500  stay that long on each page between turns (default 900;
#                              past about 5.5 s the reader has trimmed its heap before the next turn)
#        PAGLY_BENCH_START_ONLY=1  measure start-up only (quick runs to study it)
#        PAGLY_BENCH_SMAPS=DIR  keep the reader's memory map (/proc/PID/smaps) at each memory figure
#        PAGLY_BENCH_ENV="SDL_RENDER_DRIVER=opengl ..."  extra environment for the reader
#        PAGLY_BENCH_LOGS=DIR  keep each run's reader output (stderr) and figures there
#        PAGLY_BENCH_BOOKS_CACHE=DIR  converted books (a $XDG_CACHE_HOME/pagly/books folder) copied
#                              into each run's fresh cache: with a .bloompub or .epub as BOOK,
#                              the figures are those of its second open (convert it once first,
#                              e.g. XDG_CACHE_HOME=/tmp/c build/release/app/pagly BOOK)
#
# Paging rhythm (a learner turning back and forth at a steady pace; a turn held up by work the
# reader does on a timer or at every page shows at the same turns run after run):
#        PAGLY_BENCH_RHYTHM=30  instead of the figures above: open a page with the keyboard, then
#                              turn Right, Left, Right, ... that many times (25 or more for a
#                              90th percentile worth the name), one key every GAP ms
#        PAGLY_BENCH_GAP_MS=1500  time between two turn keys (from key to key)
#        PAGLY_BENCH_OPEN_KEYS="Down Down Return / Down Down Down Return /"  keys that open the
#                              page ("/" waits for the next screen); the default opens page 14
#                              of the sample book (Unit 2, its third line)
#        PAGLY_BENCH_TAP_AFTER_S=10  hear one sentence that many seconds into the page (the Down
#                              key: the first sentence), wait for its end, then start turning
#        PAGLY_BENCH_TAP_POINT=X,Y  hear the sentence by a click there instead
#        PAGLY_BENCH_TURN_AFTER_TAP_MS=1500  start turning that long after the tap, while the
#                              sentence may still sound, instead of after its end
#        PAGLY_BENCH_TURNS_FILE=PATH  every turn's figures, one line each: run, turn, key, key
#                              time (CLOCK_MONOTONIC ms, to line up with the reader's own stamps),
#                              ms since the page opened, key to first changed frame in ms
#                              (default build/response-turns.tsv; overwritten)
#        PAGLY_BENCH_USER_ROOT=DIR  where the fresh user folders (HOME, XDG_DATA_HOME, ...) go;
#                              in rhythm mode by default a new folder under $HOME, so that the
#                              state file is written and synced on the disk a learner's is on
#                              (/tmp may be a tmpfs, where a sync costs nothing)
#        PAGLY_BENCH_DISK_LOAD=1  while the runs last, another program writes and syncs 64 MB at a
#                              time beside the user folders, as a download or a build would: a
#                              sync the reader makes on its main thread then waits its turn
#   e.g. PAGLY_BENCH_NICE=-10 PAGLY_BENCH_RHYTHM=30 PAGLY_BENCH_TAP_AFTER_S=10 bench/response.sh 3
# Needs the packages of scripts/setup.sh. A benchmark, not a test: no test runs it.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(dirname "$here")
runs=${1:-5}
reader=$(realpath "${2:-$repo/build/release/app/pagly}")
book=()
[ -n "${3:-}" ] && book=("$(realpath "$3")")
nice=${PAGLY_BENCH_NICE:-0}
[ -x "$reader" ] || { echo "response.sh: no reader at $reader (cmake --build --preset release)" >&2; exit 2; }

rhythm=${PAGLY_BENCH_RHYTHM:-0}
work=$(mktemp -d /tmp/pagly-response.XXXXXX)
users=$work
if [ -n "${PAGLY_BENCH_USER_ROOT:-}" ]; then
  mkdir -p "$PAGLY_BENCH_USER_ROOT"
  users=$(mktemp -d "$PAGLY_BENCH_USER_ROOT/pagly-response.XXXXXX")
elif [ "$rhythm" -gt 0 ]; then
  users=$(mktemp -d "$HOME/.pagly-response.XXXXXX")
fi
turns_file=${PAGLY_BENCH_TURNS_FILE:-$repo/build/response-turns.tsv}
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  wait 2>/dev/null || true
  if [ -n "${PAGLY_BENCH_LOGS:-}" ]; then mkdir -p "$PAGLY_BENCH_LOGS" && cp "$work"/run* "$PAGLY_BENCH_LOGS"/; fi
  [ "$users" != "$work" ] && rm -rf "$users"
  rm -rf "$work"
}
trap cleanup EXIT

cc -O2 -o "$work/probe" "$here/response_probe.c" -lX11 -lXdamage -lXtst -lpulse-simple -lpulse -lpthread

# An X server of our own.
display=:$((90 + RANDOM % 400))
while [ -e "/tmp/.X11-unix/X${display#:}" ]; do display=:$((90 + RANDOM % 400)); done
nice -n "$nice" Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xpid=$!
pids+=("$xpid")
export DISPLAY=$display
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done

# A sound server of our own whose only sink is a null sink; its monitor is what we listen to.
mkdir -p "$work/pulse"
HOME=$work/pulse XDG_RUNTIME_DIR=$work/pulse XDG_CONFIG_HOME=$work/pulse nice -n "$nice" \
  pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --log-target=stderr \
  -L "module-null-sink sink_name=bench rate=44100 channels=2" \
  -L "module-native-protocol-unix socket=$work/pulse/native auth-anonymous=1" \
  >"$work/pulse.log" 2>&1 &
pids+=("$!")
export PULSE_SERVER=unix:$work/pulse/native
for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.05; done
pactl info >/dev/null || { echo "response.sh: PulseAudio did not start" >&2; cat "$work/pulse.log" >&2; exit 1; }

# Where to click (window pixels; the window is 731 x 963 here as the desktop is 1280 x 1024):
# "Unit 1" on the main page, the line of page 3 in its contents, sentences 2, 3 and 1 of page 3
# (automatic reading then goes on with 2, 3 and 4: two pauses on one page).
unit=${PAGLY_BENCH_UNIT:-365,100}
line=${PAGLY_BENCH_LINE:-365,200}
sentences=${PAGLY_BENCH_SENTENCES:-446,284;284,684;286,118}

if [ -n "${PAGLY_BENCH_DISK_LOAD:-}" ]; then
  (
    trap 'kill "$d" 2>/dev/null; exit 0' TERM
    while :; do
      dd if=/dev/zero of="$users/disk-load" bs=1M count=64 conv=fsync 2>/dev/null &
      d=$!
      wait "$d"
    done
  ) &
  pids+=("$!")
fi

# What the probe does in each run: the fixed set of figures, or the paging rhythm.
mode=(--unit "$unit" --line "$line" --sentences "$sentences")
if [ "$rhythm" -gt 0 ]; then
  mode=(--rhythm "$rhythm" --gap-ms "${PAGLY_BENCH_GAP_MS:-1500}" --turns-file "$turns_file"
        --open-keys "${PAGLY_BENCH_OPEN_KEYS:-Down Down Return / Down Down Down Return /}")
  [ -n "${PAGLY_BENCH_TAP_AFTER_S:-}" ] && mode+=(--tap-after-s "$PAGLY_BENCH_TAP_AFTER_S")
  [ -n "${PAGLY_BENCH_TAP_POINT:-}" ] && mode+=(--tap-point "$PAGLY_BENCH_TAP_POINT")
  [ -n "${PAGLY_BENCH_TURN_AFTER_TAP_MS:-}" ] && mode+=(--turn-after-tap-ms "$PAGLY_BENCH_TURN_AFTER_TAP_MS")
  mkdir -p "$(dirname "$turns_file")"
  printf 'run\tturn\tkey\tkey_monotonic_ms\tsince_page_ms\tframe_ms\n' >"$turns_file"
fi

for r in $(seq "$runs"); do
  user=$users/user$r
  mkdir -p "$user/home" "$user/config" "$user/cache" "$user/data" "$user/state"
  if [ -n "${PAGLY_BENCH_BOOKS_CACHE:-}" ]; then
    mkdir -p "$user/cache/pagly" && cp -a "$PAGLY_BENCH_BOOKS_CACHE" "$user/cache/pagly/books"
  fi
  # shellcheck disable=SC2086
  env HOME="$user/home" XDG_CONFIG_HOME="$user/config" XDG_CACHE_HOME="$user/cache" \
      XDG_DATA_HOME="$user/data" XDG_STATE_HOME="$user/state" SDL_AUDIODRIVER=pulseaudio \
      ${PAGLY_BENCH_ENV:-} \
      nice -n "$nice" "$work/probe" --monitor bench.monitor --xvfb-pid "$xpid" --run "$r" \
      "${mode[@]}" -- "$reader" "${book[@]}" \
      >"$work/run$r.txt" 2>"$work/run$r.err" || { echo "run $r failed:" >&2; tail -20 "$work/run$r.err" >&2; }
  if [ "$rhythm" -gt 0 ]; then
    echo "run $r turns (ms): $(awk '$1 == "turn_frame_ms" { printf "%.0f ", $2 }' "$work/run$r.txt")" >&2
  else
    echo "run $r: $(tr '\n' ' ' <"$work/run$r.txt")" >&2
  fi
done

echo "reader: $reader ${book[*]}  runs: $runs   nice: $nice   extra env: ${PAGLY_BENCH_ENV:-none}"
echo "load: $(uptime | sed 's/.*load average/load average/')${PAGLY_BENCH_DISK_LOAD:+, plus a disk writer}"
if [ "$rhythm" -gt 0 ]; then
  tap=no
  [ -n "${PAGLY_BENCH_TAP_AFTER_S:-}" ] && tap="after $PAGLY_BENCH_TAP_AFTER_S s"
  echo "rhythm: $rhythm turns a run, a key every ${PAGLY_BENCH_GAP_MS:-1500} ms," \
       "a sentence heard first: $tap;" \
       "user folders on $(findmnt -n -o SOURCE,FSTYPE -T "$users" | tr -s ' ')" \
       "($users); every turn in $turns_file"
fi
grep -h -i "renderer\|audio" "$work"/run*.err 2>/dev/null | sort | uniq -c | head -5 || true
cat "$work"/run*.txt | awk '
  { v[$1] = v[$1] " " $2; if (!($1 in seen)) { seen[$1] = 1; order[++n] = $1 } }
  END {
    printf "%-28s %6s %9s %9s %9s %9s\n", "figure", "n", "min", "median", "p90", "max"
    for (i = 1; i <= n; ++i) {
      k = order[i]; c = split(substr(v[k], 2), a, " ")
      for (x = 1; x <= c; ++x) for (y = x + 1; y <= c; ++y) if (a[y] + 0 < a[x] + 0) { t = a[x]; a[x] = a[y]; a[y] = t }
      med = c % 2 ? a[(c + 1) / 2] : (a[c / 2] + a[c / 2 + 1]) / 2
      p90 = a[int(0.9 * (c - 1) + 0.5) + 1]
      printf "%-28s %6d %9.2f %9.2f %9.2f %9.2f\n", k, c, a[1], med, p90, a[c]
    }
  }'
