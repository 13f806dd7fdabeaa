#!/usr/bin/env bash
# Measures what a real window costs under Xvfb: CPU share of a still screen over 10 s (from
# /proc/<pid>/stat) and the frame rate of an animated one.
# Usage: bench/window_cost.sh <path to pagly_view_demo>
set -euo pipefail
demo=${1:?usage: window_cost.sh <pagly_view_demo>}
export DEMO=$demo
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  set -eu
  ticks=$(getconf CLK_TCK)
  cpu() { awk "{ print \$14 + \$15 }" /proc/$1/stat; }
  "$DEMO" --seconds 14 > /tmp/window_cost_still.txt &
  pid=$!
  sleep 2                      # start-up is not idle time
  a=$(cpu $pid); t0=$(date +%s.%N)
  sleep 10
  b=$(cpu $pid); t1=$(date +%s.%N)
  wait $pid
  awk -v a=$a -v b=$b -v t0=$t0 -v t1=$t1 -v hz=$ticks \
    "BEGIN { printf \"still screen: %.2f %% of a core over %.1f s\n\", 100 * (b - a) / hz / (t1 - t0), t1 - t0 }"
  echo "still screen: $(cat /tmp/window_cost_still.txt)"
  "$DEMO" --animated --seconds 10 > /tmp/window_cost_anim.txt
  awk "{ printf \"animated: %d frames drawn in %.2f s = %.1f fps (%d steps)\n\", \$4, \$6, \$4 / \$6, \$2 }" /tmp/window_cost_anim.txt
'
