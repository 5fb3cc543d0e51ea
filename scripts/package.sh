#!/usr/bin/env bash
# Packs the installable plug-in: DIST/QUELT.zip with both modules, a readme
# and the install descriptor, plus DIST/icons-contact-sheet.png, the icons at
# 16, 32 and 48 px on light and dark for a look before a release.
#
#   scripts/package.sh [DIST]     DIST defaults to dist/ of the checkout;
#                                 it must already hold QUELT.wfx and QUELT.wfx64.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
dist=${1:-$repo/dist}

for module in QUELT.wfx QUELT.wfx64; do
  if [[ ! -f $dist/$module ]]; then
    echo "package.sh: $dist/$module is missing; build both Windows targets first" >&2
    exit 1
  fi
done

version=$(sed -n 's/^project(QUELT VERSION \([0-9.]*\).*/\1/p' "$repo/CMakeLists.txt")

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

cp "$dist/QUELT.wfx" "$dist/QUELT.wfx64" "$stage/"

# The host reads this when the zip is opened in it and offers to install.
printf '%s\r\n' \
  '[plugininstall]' \
  "description=QUELT $version: Bluetooth as a network drive; copy files to a device to send them with OBEX" \
  'type=wfx' \
  'file=QUELT.wfx' \
  'file64=QUELT.wfx64' \
  'defaultdir=QUELT' > "$stage/pluginst.inf"

sed "s/@VERSION@/$version/" "$repo/scripts/readme.txt.in" | sed 's/$/\r/' > "$stage/readme.txt"

rm -f "$dist/QUELT.zip"
# -X and fixed times keep the archive the same for the same inputs.
touch -d '2000-01-01 00:00:00' "$stage"/*
(cd "$stage" && zip -q -X "$dist/QUELT.zip" QUELT.wfx QUELT.wfx64 pluginst.inf readme.txt)

python3 "$repo/resources/draw_icons.py" sheet "$repo/resources/icons" "$dist/icons-contact-sheet.png"
echo "package.sh: wrote $dist/QUELT.zip and $dist/icons-contact-sheet.png"
