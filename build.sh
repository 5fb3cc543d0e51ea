#!/usr/bin/env bash
# Builds QUELT for every target and gathers the results in dist/:
#   dist/QUELT.wfx, dist/QUELT.wfx64               the plug-in for the host
#   dist/native/  quelt-host, QUELT.so              Linux, simulated platform
#   dist/win32/, dist/win64/  quelt-host.exe, the plug-in, stand-in bthprops.cpl
# then packs (scripts/package.sh) and runs a short demo (scripts/demo.sh).
#
#   ./build.sh                 all of it
#   ./build.sh --build-only    only the three builds (what test.sh needs)
set -euo pipefail
cd "$(dirname "$0")"

TARGETS=(native win32 win64)

build_targets() {
  for target in "${TARGETS[@]}"; do
    if [[ ! -f build/$target/CMakeCache.txt ]]; then
      cmake --preset "$target" >/dev/null
    fi
    echo "== build $target"
    cmake --build "build/$target" -j2
  done
}

copy_into() {
  local folder=$1
  shift
  mkdir -p "$folder"
  for file in "$@"; do
    if [[ -f $file ]]; then
      cp -p "$file" "$folder/"
    else
      echo "build.sh: $file was not built" >&2
    fi
  done
}

gather_dist() {
  copy_into dist/native build/native/bin/quelt-host build/native/bin/QUELT.so
  copy_into dist build/win32/bin/QUELT.wfx build/win64/bin/QUELT.wfx64
  for target in win32 win64; do
    copy_into "dist/$target" "build/$target/bin/quelt-host.exe" "build/$target/bin/bthprops.cpl" \
      "build/$target/bin/QUELT.wfx"*
  done
}

scripts/setup.sh
build_targets
[[ ${1:-} == --build-only ]] && exit 0
gather_dist
if [[ -f scripts/package.sh ]]; then
  echo "== package"
  bash scripts/package.sh
fi
echo "== demo"
bash scripts/demo.sh
