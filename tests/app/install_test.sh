#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that the desktop accepts what was
# installed: every expected file is in place, the desktop entry and the AppStream metainfo
# validate, and the MIME database built from the type knows "*.tyq".
# Usage: install_test.sh BUILD_DIR. Exits 77 (skipped) when a validator is missing.
set -euo pipefail
build=$1
for tool in desktop-file-validate appstreamcli update-mime-database; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed"; exit 77; }
done
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix/usr" >/dev/null
share=$prefix/usr/share
for f in bin/tallyon bin/tallyon-calc share/tallyon/Tallyon_J.html share/applications/tallyon.desktop \
         share/mime/packages/tallyon.xml share/icons/hicolor/48x48/apps/tallyon.png \
         share/icons/hicolor/256x256/apps/tallyon.png share/doc/tallyon/copyright; do
  [ -f "$prefix/usr/$f" ] || { echo "missing: $f"; exit 1; }
done
desktop-file-validate "$share/applications/tallyon.desktop"
appstreamcli validate --no-net "$share"/metainfo/*.metainfo.xml
update-mime-database "$share/mime"
grep -q '^50:application/x-tallyon:\*\.tyq$' "$share/mime/globs2" || { echo "*.tyq not in globs2"; exit 1; }
echo "install ok"
