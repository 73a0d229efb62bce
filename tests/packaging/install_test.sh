#!/usr/bin/env bash
# Installs into a temporary DESTDIR and checks every installed file: the exact
# list, the desktop entry, the AppStream data, the icon sizes, the manual page,
# and that the installed program answers --help, --version and a wrong option.
set -euo pipefail
build=$1
version=$2
dest=$(mktemp -d)
trap 'rm -rf "$dest"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$dest" cmake --install "$build" --prefix /usr >/dev/null

id=de.travenil.quintor3p
expected=(
    usr/bin/quintor3p
    usr/share/applications/$id.desktop
    usr/share/metainfo/$id.metainfo.xml
    usr/share/icons/hicolor/scalable/apps/$id.svg
    usr/share/man/man1/quintor3p.1.gz
    usr/share/man/de/man1/quintor3p.1.gz
    usr/share/doc/quintor3p/copyright
    usr/share/doc/quintor3p/changelog.gz
)
sizes=(16 22 24 32 48 64 128 256)
for s in "${sizes[@]}"; do expected+=("usr/share/icons/hicolor/${s}x${s}/apps/$id.png"); done
actual=$(cd "$dest" && find . -type f | sed 's|^\./||' | sort)
wanted=$(printf '%s\n' "${expected[@]}" | sort)
[ "$actual" = "$wanted" ] || fail "installed files differ:
$(diff <(echo "$wanted") <(echo "$actual") || true)"

desktop-file-validate "$dest/usr/share/applications/$id.desktop" || fail "desktop entry"
grep -q '^Categories=.*Office;' "$dest/usr/share/applications/$id.desktop" || fail "category Office"
grep -q '^Name\[en\]=\|^Comment\[en\]=' "$dest/usr/share/applications/$id.desktop" || fail "English texts"
grep -q '^Comment\[de\]=' "$dest/usr/share/applications/$id.desktop" || fail "German texts"
grep -q '^Icon=de.travenil.quintor3p$' "$dest/usr/share/applications/$id.desktop" || fail "icon name"
appstreamcli validate --no-net "$dest/usr/share/metainfo/$id.metainfo.xml" || fail "AppStream data"

for s in "${sizes[@]}"; do
    file -b "$dest/usr/share/icons/hicolor/${s}x${s}/apps/$id.png" | grep -q "PNG image data, $s x $s," ||
        fail "icon ${s}x${s}"
done
file -b "$dest/usr/share/icons/hicolor/scalable/apps/$id.svg" | grep -q 'SVG' || fail "SVG icon"

for page in usr/share/man/man1/quintor3p.1.gz usr/share/man/de/man1/quintor3p.1.gz; do
    warnings=$(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l "$dest/$page" 2>&1 >/dev/null) || fail "man -l $page"
    [ -z "$warnings" ] || fail "man page warnings: $warnings"
    text=$(MANWIDTH=80 LC_ALL=C.UTF-8 man -l "$dest/$page" 2>/dev/null)
    for heading in BEZEICHNUNG ÜBERSICHT BESCHREIBUNG OPTIONEN --demo EXIT-STATUS; do
        grep -q -- "$heading" <<<"$text" || fail "man page lacks $heading"
    done
done

program="$dest/usr/bin/quintor3p"
env -u DISPLAY -u WAYLAND_DISPLAY "$program" --version | grep -qx "Quintor 3P $version" || fail "--version"
env -u DISPLAY -u WAYLAND_DISPLAY "$program" --help | grep -q -- '--demo' || fail "--help"
status=0
env -u DISPLAY -u WAYLAND_DISPLAY "$program" --gibt-es-nicht 2>/dev/null || status=$?
[ "$status" -eq 2 ] || fail "a wrong option ended with $status, not 2"
echo "installed files: $(wc -l <<<"$actual"), all checked"
