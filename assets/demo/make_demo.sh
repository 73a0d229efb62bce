#!/bin/sh
# Rebuilds the demo presentations from their flat XML sources (needs LibreOffice).
set -eu
here=$(cd "$(dirname "$0")" && pwd)
profile=$(mktemp -d)
trap 'rm -rf "$profile"' EXIT
soffice -env:UserInstallation="file://$profile" --headless --convert-to pptx --outdir "$here" "$here"/src/*.fodp
