#!/bin/sh
# Installs the build into a temporary DESTDIR, checks the desktop's files with
# their validators, then runs the installed lotwright-cli in the tree made
# read-only: a sample's export must land in the user's documents folder and
# nothing inside the tree may change. Root writes through missing write bits,
# so the tree's listing (sizes, modes, times) is compared before and after.
# usage: tst_install.sh BUILD_DIR
set -eu
build=$1
id=io.github.lotwright.Lotwright
tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
root=$tmp/root
share=$root/usr/share
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
for f in bin/lotwright bin/lotwright-cli share/lotwright/Objects/objects.txt \
         share/lotwright/Textures/grass.jpg share/lotwright/Manual.htm \
         share/lotwright/x_ite/x_ite.min.js share/lotwright/samples/park.lwf \
         share/man/man1/lotwright.1.gz share/man/man1/lotwright-cli.1.gz \
         share/icons/hicolor/scalable/apps/$id.svg; do
    [ -f "$root/usr/$f" ] || fail "not installed: $f"
done
for size in 16 32 48 128 256; do
    png=$share/icons/hicolor/${size}x$size/apps/$id.png
    [ "$(identify -format %wx%h "$png")" = "${size}x$size" ] || fail "no ${size}px icon"
done

desktop=$share/applications/$id.desktop
desktop-file-validate "$desktop" || fail "desktop entry"
grep -qx 'Exec=lotwright %f' "$desktop" && grep -qx 'MimeType=application/x-lotwright-world;' "$desktop" \
    || fail "desktop entry does not open worlds"
mime=$share/mime/packages/$id.xml
xmllint --noout "$mime" || fail "file type"
# The desktop's own tool must read the type's name, pattern and comment from it.
mkdir -p "$tmp/mime/packages" && cp "$mime" "$tmp/mime/packages/"
update-mime-database "$tmp/mime"
grep -q '^50:application/x-lotwright-world:\*\.lwf$' "$tmp/mime/globs2" || fail "no *.lwf glob"
grep -q '<comment>Lotwright world</comment>' "$tmp/mime/application/x-lotwright-world.xml" \
    || fail "no comment"
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >/dev/null || fail "metainfo"
fi

chmod -R a-w "$root"
listing() { find "$root" -printf '%P %y %m %s %T@ %C@\n' | sort; }
listing >"$tmp/before"
home=$tmp/home
mkdir "$home"
run() {
    env -u LOTWRIGHT_HOME -u XDG_CONFIG_HOME -u XDG_DATA_HOME HOME="$home" "$@"
}
run "$root/usr/bin/lotwright" --help | grep -q 'Documents/Lotwright/ToGo' || fail "lotwright --help"
run "$root/usr/bin/lotwright-cli" export --web "$share/lotwright/samples/park.lwf" \
    >"$tmp/out" 2>"$tmp/err" || fail "export: $(cat "$tmp/err")"
toGo=$home/Documents/Lotwright/ToGo
[ ! -s "$tmp/err" ] || fail "export warned: $(cat "$tmp/err")"
[ "$(head -n 1 "$tmp/out")" = "$toGo/park.wrl" ] || fail "export named $(cat "$tmp/out")"
for f in park.wrl index.html grass.jpg x_ite/x_ite.min.js; do
    [ -f "$toGo/$f" ] || fail "not exported: $f"
done
listing >"$tmp/after"
diff "$tmp/before" "$tmp/after" >&2 || fail "the installed tree changed"
echo "installed tree: validated, read-only export in $toGo"
