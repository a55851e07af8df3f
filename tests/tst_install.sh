#!/bin/sh
# Installs the build into a temporary DESTDIR, validates the desktop's files,
# then runs the installed lotwright-cli in the tree made read-only: a sample's
# export must land in the documents folder of HOME, and the tree's listing
# must not change (root writes through missing write bits). usage: BUILD_DIR
set -eu
id=io.github.lotwright.Lotwright
tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
root=$tmp/root share=$tmp/root/usr/share home=$tmp/home toGo=$tmp/home/Documents/Lotwright/ToGo
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$root cmake --install "$1" --prefix /usr >/dev/null
cd "$share"
ls man/man1/lotwright.1.gz man/man1/lotwright-cli.1.gz icons/hicolor/scalable/apps/$id.svg >/dev/null
[ "$(identify -format '%w ' icons/hicolor/*x*/apps/$id.png)" = "128 16 256 32 48 " ] || fail "icon sizes"
desktop-file-validate applications/$id.desktop || fail "desktop entry"
grep -qx 'MimeType=application/x-lotwright-world;' applications/$id.desktop || fail "no file type"
xmllint --noout mime/packages/$id.xml || fail "file type"
# The desktop's own tool must read the type's pattern and comment from it.
mkdir -p "$tmp/mime/packages" && cp mime/packages/$id.xml "$tmp/mime/packages/"
update-mime-database "$tmp/mime"
grep -q '^50:application/x-lotwright-world:\*\.lwf$' "$tmp/mime/globs2" || fail "no *.lwf"
grep -q '<comment>Lotwright world</comment>' "$tmp/mime/application/x-lotwright-world.xml" || fail "comment"
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net metainfo/$id.metainfo.xml >/dev/null || fail "metainfo"
fi

chmod -R a-w "$root"
listing() { find "$root" -printf '%P %y %m %s %T@ %C@\n' | sort; }
listing >"$tmp/before"
mkdir "$home"
# With everything it needs installed, the sample exports without a warning.
env -u LOTWRIGHT_HOME -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME="$home" \
    "$root/usr/bin/lotwright-cli" export --web lotwright/samples/park.lwf >"$tmp/out" 2>"$tmp/err" &&
    [ ! -s "$tmp/err" ] || fail "export: $(cat "$tmp/err")"
[ "$(head -n 1 "$tmp/out")" = "$toGo/park.wrl" ] || fail "exported to $(cat "$tmp/out")"
ls "$toGo/index.html" "$toGo/grass.jpg" "$toGo/x_ite/x_ite.min.js" >/dev/null
listing | diff "$tmp/before" - >&2 || fail "the installed tree changed"
