#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The same bytes from two builds of graphitello-cli (gcc's and clang's): the nine styles on the
# sample photo with the finishing pass, and every kind of adjustment. Whole files are compared, in
# turn BMP, JPEG and PNG, so what the writers add around the pixels (the colour profile, the camera
# data) must be the same bytes too.
#   scripts/compare-compilers.sh CLI_A CLI_B
set -euo pipefail
a=${1:?first graphitello-cli}
b=${2:?second graphitello-cli}
here=$(cd "$(dirname "$0")/.." && pwd)
photo="$here/assets/data/sample_photo.jpg"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen

runs=()
for style in 0 1 2 3 4 5 6 7 8; do runs+=("render --style $style"); done
runs+=("render --style 0 --frame coloured --frame-number 3 --tint 20,-30,40 --margin 40"
       "render --style 4 --frame lined --texture 7 --strength strong --seed 99")
for op in soften sharpen saturation brightness contrast simplify; do runs+=("adjust $op"); done
runs+=("adjust resize --size 613x211"
       "adjust retouch --brightness 20 --contrast 30 --saturation -40 --sharpness 3 --simplify 4"
       "adjust retouch --brightness -15 --contrast -50 --saturation 60 --sharpness -5")

differ=0
i=0
for run in "${runs[@]}"; do
  i=$((i + 1))
  kinds=(bmp jpg png)
  ext=${kinds[$((i % 3))]}
  read -r -a words <<<"$run"
  if [ "${words[0]}" = render ]; then
    "$a" "${words[@]}" "$photo" "$work/a$i.$ext"
    "$b" "${words[@]}" "$photo" "$work/b$i.$ext"
  else
    "$a" "${words[@]:0:2}" "${words[@]:2}" "$photo" "$work/a$i.$ext"
    "$b" "${words[@]:0:2}" "${words[@]:2}" "$photo" "$work/b$i.$ext"
  fi
  if ! cmp -s "$work/a$i.$ext" "$work/b$i.$ext"; then
    echo "different bytes: graphitello-cli $run (.$ext)"
    differ=1
  fi
done
[ $differ -eq 0 ] && echo "the two compilers give the same bytes (${#runs[@]} pictures)"
exit $differ
