#!/usr/bin/env bash
# How long pagly-import takes on a fixed-layout book of PAGES pages (a Bloom book made here:
# A5 pages, each with a drawn picture and SENTENCES recorded sentences from espeak-ng | lame),
# from the command to the finished folder. Prints the wall time of each run, then the median.
#
# usage: bench/import.sh [RUNS] [IMPORTER]   (defaults: 3, build/release/tools/pagly-import,
#                                             else build/dev/tools/pagly-import)
# env:   PAGLY_BENCH_PAGES=30  PAGLY_BENCH_SENTENCES=3  PAGLY_BENCH_KEEP=DIR (keep the book and
#        the last conversion there)
set -euo pipefail
runs=${1:-3}
root=$(cd "$(dirname "$0")/.." && pwd)
importer=${2:-}
if [ -z "$importer" ]; then
  importer=$root/build/release/tools/pagly-import
  [ -x "$importer" ] || importer=$root/build/dev/tools/pagly-import
fi
pages=${PAGLY_BENCH_PAGES:-30}
sentences=${PAGLY_BENCH_SENTENCES:-3}
work=${PAGLY_BENCH_KEEP:-$(mktemp -d /tmp/pagly-import-bench-XXXXXX)}
[ -n "${PAGLY_BENCH_KEEP:-}" ] || trap 'rm -rf "$work"' EXIT
book="$work/Bench Book"
mkdir -p "$book/audio"

# The book: one .htm of Bloom pages, as Bloom writes it.
{
  echo '<?xml version="1.0" encoding="utf-8"?><!DOCTYPE html><html><head><meta charset="UTF-8"/>'
  echo '<title>Bench Book</title><style>'
  echo '.bloom-page{width:148mm;height:210mm;overflow:hidden;position:relative;background:#fffdf4;'
  echo 'font:22px serif;page-break-after:always}.pic{margin:10mm auto;display:block}'
  echo 'p{margin:6mm 12mm}</style></head><body data-l1="en">'
  echo '<div id="bloomDataDiv"><div data-book="bookTitle" lang="en"><p>Bench Book</p></div></div>'
  for p in $(seq 1 "$pages"); do
    echo "<div class=\"bloom-page numberedPage A5Portrait\" id=\"page$p\" data-page-number=\"$p\">"
    echo "<svg class=\"pic\" width=\"420\" height=\"300\" viewBox=\"0 0 420 300\">"
    echo "<rect width=\"420\" height=\"300\" rx=\"24\" fill=\"hsl($((p * 37 % 360)),60%,80%)\"/>"
    echo "<circle cx=\"$((60 + p * 11 % 300))\" cy=\"150\" r=\"70\" fill=\"hsl($((p * 71 % 360)),70%,50%)\"/>"
    echo "</svg><div class=\"bloom-translationGroup\"><div class=\"bloom-editable bloom-content1\" lang=\"en\">"
    for s in $(seq 1 "$sentences"); do
      echo "<p><span id=\"s${p}_$s\" class=\"audio-sentence\">Page $p, sentence $s: the fox runs to the river.</span></p>"
    done
    echo "</div></div></div>"
  done
  echo '</body></html>'
} > "$book/Bench Book.htm"

# The recordings, made on both cores.
for p in $(seq 1 "$pages"); do
  for s in $(seq 1 "$sentences"); do
    echo "$p $s"
  done
done | xargs -P 2 -n 2 sh -c 'espeak-ng --stdout "Page $0, sentence $1: the fox runs to the river." |
  lame --quiet -b 32 -m m - "'"$book"'/audio/s$0_$1.mp3"'

times=()
for run in $(seq 1 "$runs"); do
  rm -rf "$work/out"
  start=$(date +%s.%N)
  "$importer" "$book" "$work/out" > /dev/null
  end=$(date +%s.%N)
  t=$(echo "$end - $start" | bc)
  times+=("$t")
  printf 'run %d: %.2f s\n' "$run" "$t"
done
median=$(printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {print a[int((NR + 1) / 2)]}')
printf 'pagly-import, %d pages x %d sentences: median %.2f s over %d runs\n' "$pages" "$sentences" \
  "$median" "$runs"
