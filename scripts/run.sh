#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# make run: with a display, starts the program on the sample photo; without one, renders the sample
# photo with the command line into out/ (every style, or a few source adjustments while the
# command line cannot render yet) and lists what it wrote.
set -euo pipefail

build=${1:-build}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
sample="$root/assets/data/sample_photo.jpg"
app="$build/mainwindow/graphitello"
cli="$build/cli/graphitello-cli"

if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" && -x "$app" ]]; then
    echo "Starting $app"
    exec "$app" "$sample"
fi

if [[ ! -x "$cli" ]]; then
    echo "run.sh: $cli is not built" >&2
    exit 1
fi
if [[ ! -f "$sample" ]]; then
    echo "run.sh: the sample photo $sample is missing" >&2
    exit 1
fi

out=out
mkdir -p "$out"
written=()
if "$cli" styles --names >/dev/null 2>&1; then
    echo "No display: rendering $(basename "$sample") in every style into $out/"
    while read -r style; do
        "$cli" render --style "$style" "$sample" "$out/$style.jpg"
        written+=("$out/$style.jpg")
    done < <("$cli" styles --names)
else
    echo "No display: adjusting $(basename "$sample") into $out/ (the command line cannot render yet)"
    for op in soften sharpen saturation brightness contrast old-contrast; do
        "$cli" adjust "$op" "$sample" "$out/$op.jpg"
        written+=("$out/$op.jpg")
    done
    "$cli" adjust resize --size 400x300 "$sample" "$out/resize.jpg"
    written+=("$out/resize.jpg")
fi

echo "Written:"
for f in "${written[@]}"; do
    printf '  %s (%s bytes)\n' "$f" "$(stat -c %s "$f")"
done
