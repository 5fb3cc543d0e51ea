#!/usr/bin/env bash
# Benchmark of sending (run on demand; it is no test and judges nothing).
#
# 1. Pushes a 64 MiB file over loopback with quelt-host and the native
#    plug-in (A) to an OpenOBEX-based receiver announcing 0xFFFF-byte
#    packets, and the same file with OpenOBEX's own client obex_tcp (B) to
#    the same kind of receiver on port 650; prints both rates and A / B.
# 2. Runs one push under an allocation counter and lists every heap
#    allocation made while FsPutFileW runs, by call site.
#
#   bench/run.sh [RUNS]      RUNS pairs after a warm-up (default 5);
#                            programs from $QUELT_BIN or build/native/bin/
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-5}
bin=${QUELT_BIN:-$repo/build/native/bin}
for program in quelt-host obex_receiver QUELT.so; do
  [[ -e $bin/$program ]] || { echo "run.sh: $bin/$program missing; build native first" >&2; exit 1; }
done
command -v obex_tcp >/dev/null || { echo "run.sh: obex_tcp (openobex-apps) missing" >&2; exit 1; }

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# Starts a receiver (port, folder); retries for a while, since a port the
# library listened on stays blocked for about a minute after a connection.
start_receiver() {
  local port=$1 folder=$2 log=$work/receiver-$1.log
  mkdir -p "$folder"
  for _ in $(seq 90); do
    "$bin/obex_receiver" --port "$port" --mtu 65535 --folder "$folder" > "$log" 2>&1 &
    local pid=$!
    sleep 0.3
    if kill -0 "$pid" 2>/dev/null && grep -q '^listening' "$log"; then
      pids+=("$pid")
      return 0
    fi
    wait "$pid" 2>/dev/null || true
    sleep 0.7
  done
  echo "run.sh: no receiver on port $port:" >&2; cat "$log" >&2
  return 1
}

size=$((64 * 1024 * 1024))
file=$work/send/bench64.bin
mkdir -p "$work/send"
head -c "$size" /dev/urandom > "$file"

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
start_receiver "$port" "$work/received-by-plugin"
start_receiver 650 "$work/received-by-client"

world=$work/world.txt
cat > "$world" <<WORLD
radio  address=00:1A:7D:DA:71:13 name="Bench radio"
device radio=0 address=00:1B:F0:12:3A:5E name="Bench phone" obex=127.0.0.1:$port
WORLD
put_command="'$bin/quelt-host' --world '$world' -c ls -c 'cd \"[A00] Bench radio\"' -c ls \
 -c 'cd \"[D00] Bench phone\"' -c ls -c 'put \"$file\"'"
client_command="cd '$work/send' && obex_tcp bench64.bin 127.0.0.1"

echo "== 64 MiB over loopback: A = quelt-host + plug-in, B = obex_tcp (OpenOBEX client)"
python3 "$repo/bench/time_runs.py" "$runs" "$size" "$put_command" "$client_command"
cmp "$file" "$work/received-by-plugin/bench64.bin"
cmp "$file" "$work/received-by-client/bench64.bin"
echo "(both received copies are identical to the file sent)"

echo
echo "== Heap allocations while FsPutFileW runs (one 64 MiB push), by call site"
cc -O2 -shared -fPIC -o "$work/malloc_sites.so" "$repo/bench/malloc_sites.c" -ldl
MALLOC_SITES_OUT=$work/sites.txt LD_PRELOAD=$work/malloc_sites.so \
  sh -c "$put_command" > /dev/null 2>&1
printf '%8s %10s  %-12s %s\n' calls bytes module "call site"
while read -r calls bytes object offset; do
  site=$(addr2line -f -C -e "$object" "$offset" | head -1)
  printf '%8s %10s  %-12s %s\n' "$calls" "$bytes" "$(basename "$object")" "$site"
done < "$work/sites.txt"
echo "(QUELT.so sites: the C library's FILE and stream buffer for the open file, and"
echo " getaddrinfo inside the simulated RFCOMM socket; quelt-host sites: the host's"
echo " own log and progress callbacks)"
