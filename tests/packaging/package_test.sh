#!/usr/bin/env bash
# Builds the Debian package with CPack and inspects it: control data (name,
# version, section, the dependencies found by dpkg-shlibdeps and the ones named
# by hand) and the files it holds. Runs lintian where it is installed and prints
# what it finds; only errors fail the test.
set -euo pipefail
build=$1
version=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log" 2>&1) || { cat "$out/cpack.log"; fail "cpack"; }
deb=$(find "$out" -maxdepth 1 -name '*.deb' -print -quit)
[ -n "$deb" ] || fail "no package made"

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = quintor3p ] || fail "package name"
[ "$(field Version)" = "$version" ] || fail "version $(field Version)"
[ "$(field Section)" = misc ] || fail "section"
depends=$(field Depends)
echo "Depends: $depends"
names=$(sed 's/ *([^)]*)//g; s/, */\n/g' <<<"$depends")
for lib in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 qt6-translations-l10n; do
    grep -qxF "$lib" <<<"$names" || fail "Depends lacks $lib"
done
grep -q 'asan\|ubsan' <<<"$depends" && fail "package built with sanitizers"

contents=$(dpkg-deb --contents "$deb" | awk '{print $6}')
for f in ./usr/bin/quintor3p ./usr/share/applications/de.travenil.quintor3p.desktop \
    ./usr/share/metainfo/de.travenil.quintor3p.metainfo.xml \
    ./usr/share/icons/hicolor/scalable/apps/de.travenil.quintor3p.svg \
    ./usr/share/icons/hicolor/48x48/apps/de.travenil.quintor3p.png \
    ./usr/share/man/de/man1/quintor3p.1.gz ./usr/share/doc/quintor3p/copyright; do
    grep -qx -- "$f" <<<"$contents" || fail "package lacks $f"
done

if command -v lintian >/dev/null; then
    findings=$(lintian --tag-display-limit 0 "$deb" 2>&1 || true)
    echo "lintian findings:"
    echo "${findings:-  (none)}"
    grep -q '^E: ' <<<"$findings" && fail "lintian reports errors"
else
    echo "lintian is not installed; skipped"
fi
echo "package $(basename "$deb") checked"
