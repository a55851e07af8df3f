#!/usr/bin/env bash
# Refreshes third_party/x_ite, the player of the exported web page, from the
# npm package x_ite: the few files a page needs for our worlds, unchanged.
#   tools/update-x_ite.sh [VERSION]      (default: the newest release)
# Then build, run the tests (tst_web_browser plays a world with it) and
# review `git status third_party/x_ite` before committing.
set -euo pipefail

cd "$(dirname "$0")/.."
version="${1:-$(npm view x_ite version)}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

(cd "$work" && npm pack --silent "x_ite@$version" >/dev/null && tar xzf x_ite-*.tgz)
dist="$work/package/dist"

# What a page loads for these worlds. The name x_ite.min.js decides that the
# minified components are loaded; x_ite.css must stay byte for byte (the
# script checks its hash). Fonts: the player's menus (PT Sans) and the
# default serif of 3-D text (Droid Serif, plain and bold).
files=(
  LICENSE.md
  x_ite.min.js
  x_ite.css
  assets/components/TextComponent.min.js
  assets/components/ScriptingComponent.min.js
  assets/lib/woff2_decoder.js
  assets/lib/mikktspace_bg.wasm
  "assets/fonts/Droid/DroidSerif Apache License.txt"
  assets/fonts/Droid/DroidSerif-Regular.woff2
  assets/fonts/Droid/DroidSerif-Bold.woff2
  assets/fonts/PT_Sans/OFL.txt
  assets/fonts/PT_Sans/PTSans-Regular.woff2
  assets/fonts/PT_Sans/PTSans-Bold.woff2
  assets/fonts/PT_Sans/PTSans-Italic.woff2
  assets/fonts/PT_Sans/PTSans-BoldItalic.woff2
)

target=third_party/x_ite
rm -rf "$target"
mkdir -p "$target"
for f in "${files[@]}"; do
  mkdir -p "$target/$(dirname "$f")"
  cp "$dist/$f" "$target/$f"
done
mkdir -p "$target/assets/images"
cp "$dist"/assets/images/*.svg "$target/assets/images/"

cat > "$target/README.md" <<README
# X_ITE $version

The VRML97 player of the exported web page: the files that a page needs, taken
unchanged from the npm package \`x_ite\` $version (https://create3000.github.io/x_ite/).

X_ITE is free software under the MIT licence (LICENSE.md, which also holds the
licences of the libraries bundled into x_ite.min.js). The fonts keep their own
licences beside them: Droid Serif under the Apache License 2.0, PT Sans under
the SIL Open Font License 1.1.

Refreshed with \`tools/update-x_ite.sh [VERSION]\` from the source tree.
README

echo "third_party/x_ite: X_ITE $version, $(find "$target" -type f | wc -l) files, $(du -sh "$target" | cut -f1)"
