#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The long run: graphitello-cli batch over COUNT small pictures (about 160 x 107) (copies of the sample photo, every
# tenth one a PNG), sampling the process's resident memory as it goes. Prints the resident memory
# after each tenth of the pictures; a batch that keeps nothing from one picture to the next stays flat.
#   scripts/batch-memory.sh CLI [COUNT] [STYLE]
set -euo pipefail
cli=${1:?graphitello-cli}
count=${2:-1000}
style=${3:-0}
here=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

mkdir -p "$work/in" "$work/out"
"$cli" adjust resize --size 160x107 "$here/assets/data/sample_photo.jpg" "$work/small.jpg"
"$cli" adjust resize --size 150x100 "$here/assets/data/sample_photo.jpg" "$work/small.png"
files=()
for i in $(seq -w 1 "$count"); do
  if [ $((10#$i % 10)) -eq 0 ]; then cp "$work/small.png" "$work/in/p$i.png"; else cp "$work/small.jpg" "$work/in/p$i.jpg"; fi
done
start=$(date +%s.%N)
# exec: the process watched is the command line itself.
(cd "$work/in" && exec "$cli" batch --style "$style" --out "$work/out" ./*) >/dev/null 2>"$work/messages" &
pid=$!
step=$((count / 10))
next=$step
peak=0
echo "pictures done   resident memory (MB)"
while kill -0 "$pid" 2>/dev/null; do
  rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status" 2>/dev/null || echo 0)
  [ -n "$rss" ] && [ "$rss" -gt "$peak" ] && peak=$rss
  done_count=$(ls "$work/out" | wc -l)
  if [ "$done_count" -ge "$next" ] && [ -n "$rss" ]; then
    printf '%13d   %8.1f\n' "$done_count" "$(awk "BEGIN {print $rss / 1024}")"
    next=$((next + step))
  fi
  sleep 0.1
done
wait "$pid"
end=$(date +%s.%N)
printf 'done: %d drawings in %.1f s, peak resident memory %.1f MB\n' "$(ls "$work/out" | wc -l)" \
  "$(awk "BEGIN {print $end - $start}")" "$(awk "BEGIN {print $peak / 1024}")"
