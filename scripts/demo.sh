#!/usr/bin/env bash
# A short demo on the built-in demo world: the reference host lists the
# root, the adapter and the device "Demo phone", then sends a file to the
# phone. The phone's Object Push service is an OpenOBEX-based receiver on
# 127.0.0.1:6500, started here in a temporary folder and stopped at the end.
#
#   scripts/demo.sh      uses $QUELT_BIN, dist/native/ or build/native/bin/
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)

find_program() {
  for dir in ${QUELT_BIN:+"$QUELT_BIN"} "$repo/dist/native" "$repo/build/native/bin"; do
    if [[ -x $dir/$1 ]]; then echo "$dir/$1"; return 0; fi
  done
  echo "demo.sh: $1 not found; build the native target first" >&2
  return 1
}
host=$(find_program quelt-host)
receiver_program=$(find_program obex_receiver)

work=$(mktemp -d)
receiver_pid=
cleanup() {
  if [[ -n $receiver_pid ]] && kill -0 "$receiver_pid" 2>/dev/null; then
    kill "$receiver_pid" 2>/dev/null || true
    wait "$receiver_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

mkdir "$work/phone" "$work/outbox"
"$receiver_program" --port 6500 --mtu 65535 --count 1 --folder "$work/phone" \
  > "$work/receiver.log" 2>&1 &
receiver_pid=$!
for _ in $(seq 50); do
  grep -q '^listening' "$work/receiver.log" && break
  if ! kill -0 "$receiver_pid" 2>/dev/null; then
    echo "demo.sh: the receiver could not start (is port 6500 taken?):" >&2
    cat "$work/receiver.log" >&2
    exit 1
  fi
  sleep 0.1
done

file="$work/outbox/holiday notes.txt"
for day in $(seq 1 400); do echo "Day $day: sun, sea and a little Bluetooth."; done > "$file"

echo "== Sending \"$(basename "$file")\" ($(stat -c %s "$file") bytes) to the demo phone"
env -u QUELT_WORLD timeout 60 "$host" \
  -c ls \
  -c 'cd "[A00] Office dongle"' -c ls \
  -c 'cd "[D00] Demo phone"' -c ls \
  -c "put \"$file\"" 2>&1

timeout 10 tail --pid="$receiver_pid" -f /dev/null || true
echo "== The phone received:"
(cd "$work/phone" && ls -l)
if cmp -s "$file" "$work/phone/$(basename "$file")"; then
  echo "== The received file is identical to the one sent."
else
  echo "demo.sh: the received file differs from the one sent" >&2
  exit 1
fi
