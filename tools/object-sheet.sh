#!/usr/bin/env bash
# Renders every object of an object library from a three-quarter front view,
# on a floor of 3-foot squares beside a 6-foot figure, and joins the pictures
# into one contact sheet.
#   tools/object-sheet.sh RENDER_WRL OBJECTS_FOLDER TEXTURES_FOLDER SHEET.png
set -euo pipefail
if [ $# -ne 4 ]; then
  echo "usage: $0 RENDER_WRL OBJECTS_FOLDER TEXTURES_FOLDER SHEET.png" >&2
  exit 2
fi
render=$1 objects=$2 textures=$3 sheet=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

status=0
tiles=()
while IFS=$'\t' read -r _ _ _ _ file || [ -n "${file:-}" ]; do
  file=${file%$'\r'}
  [ -n "$file" ] || continue
  name=${file%.*}
  if ! xvfb-run -a -s "-screen 0 1280x1024x24" "$render" --floor --figure --size 400x400 \
      --path "$textures" "$objects/$file" "$work/$name.png"; then
    echo "$0: $file did not render cleanly" >&2
    status=1
  fi
  if [ -f "$work/$name.png" ]; then tiles+=("$work/$name.png"); fi
done < "$objects/objects.txt"

# montage labels each tile with its file name (less the extension).
montage -font DejaVu-Sans -label '%t' "${tiles[@]}" -tile 6x -geometry 300x300+4+4 -pointsize 16 "$sheet"
exit $status
