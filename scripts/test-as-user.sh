#!/usr/bin/env bash
# Runs a test program once more as the ordinary user "nobody", for the tests that
# skip under root because permission bits do not hold root back (unreadable
# folders, read-only files). The program is copied to a folder of its own, so the
# user needs no access to the build tree. Does nothing unless run as root.
# Usage: scripts/test-as-user.sh <test program> [gtest arguments...]
set -euo pipefail
[ "$(id -u)" -eq 0 ] || exit 0
program=${1:?test program}
shift
place=$(mktemp -d)
trap 'rm -rf "$place"' EXIT
mkdir "$place/tmp"
cp "$program" "$place/"
chown -R nobody:nogroup "$place"
chmod 755 "$place"
setpriv --reuid=nobody --regid=nogroup --clear-groups \
    env -i PATH=/usr/bin:/bin HOME="$place" TMPDIR="$place/tmp" TZ=Europe/Berlin \
    ASAN_OPTIONS="${ASAN_OPTIONS:-}" "$place/$(basename "$program")" "$@"
