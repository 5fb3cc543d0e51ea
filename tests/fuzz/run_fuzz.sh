#!/usr/bin/env bash
# Builds the fuzz target with clang (address sanitizer, libFuzzer) in its
# own build folder and runs it for a bounded time.
#
#   tests/fuzz/run_fuzz.sh BUILD_DIR [SECONDS]
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:?usage: run_fuzz.sh BUILD_DIR [SECONDS]}
seconds=${2:-20}

if ! command -v clang++ >/dev/null; then
  echo "run_fuzz.sh: clang++ is not installed (scripts/setup.sh installs it)" >&2
  exit 1
fi

if [[ ! -f $build/build.ninja ]]; then
  cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,fuzzer-no-link -fno-omit-frame-pointer" \
    -DQUELT_FUZZ=ON >/dev/null
fi
cmake --build "$build" --target quelt_fuzz_entry_paths -- -j2 >/dev/null

corpus="$build/corpus"
mkdir -p "$corpus"
# A few real paths to start from.
printf '\0\0\x12\\\0[\0A\0000\0001\0]\0 \0r\0' > "$corpus/adapter"
printf '\x01\0\x12\\\0[\0A\0000\0000\0]\0 \0r\0\\\0[\0D\0000\0007\0]\0 \0p\0!\0' > "$corpus/device"
printf '\xff\x81\x05/\0x\0/\0.\0' > "$corpus/message"

"$build/bin/quelt_fuzz_entry_paths" -max_total_time="$seconds" -max_len=4096 \
  -timeout=10 -rss_limit_mb=1024 -artifact_prefix="$build/" -print_final_stats=1 "$corpus"
