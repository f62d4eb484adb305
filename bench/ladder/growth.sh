#!/usr/bin/env bash
# The growth of crninv's time and memory with size, on one family of the
# Model Checking Contest (ServersAndClients, written by servers_clients.py),
# beside PetriSpot, and against what the reduction did: the entries that its
# eliminations visited and the most entries the rows held at once.
#
# usage: bench/ladder/growth.sh [CLIENTS:SERVERS ...]   (default: the ladder below)
#
# Needs build/crninv and build-bench/bench/reduce_stats (cmake -DCRNINV_BENCH=ON);
# PetriSpot as for bench/compare.sh (PETRISPOT=path, or built when missing).
# Prints a Markdown table; every figure is one whole-process run.
set -eu -o pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)
shared=$(dirname "$root")/shared
crninv=${CRNINV:-$root/build/crninv}
stats=${REDUCE_STATS:-$root/build-bench/bench/reduce_stats}
petrispot=${PETRISPOT:-$root/build/peers/petrispot/petri64}
work=$(mktemp -d "${TMPDIR:-/tmp}/crninv-growth.XXXXXX")
trap 'rm -rf "$work"' EXIT

[ -x "$crninv" ] && [ -x "$stats" ] || { echo "build crninv and the benchmarks first" >&2; exit 1; }
if [ ! -x "$petrispot" ]; then sh "$shared/peers/petrispot/build.sh" "$(dirname "$petrispot")" >&2; fi
cc -O2 -o "$work/measure" "$root/bench/peers/measure.c"

[ $# -eq 0 ] && set -- 100:10 100:20 100:40 100:80 100:160 200:160 400:160

echo "| clients | servers | S | R | crninv s | crninv MB | eliminations | pivot entries visited | peak entries | PetriSpot s | PetriSpot MB |"
echo "|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
for size in "$@"; do
  c=${size%%:*}
  s=${size#*:}
  python3 "$here/servers_clients.py" "$c" "$s" "$work/net.net" "$work/net.pnml"
  read -r S R _ elims visited peak _ < <("$stats" "$work/net.net")
  read -r _ ct ckb < <("$work/measure" 600 /dev/null /dev/null "$crninv" "$work/net.net")
  read -r _ pt pkb < <("$work/measure" 600 /dev/null /dev/null "$petrispot" --Pflows -q -i "$work/net.pnml")
  printf '| %s | %s | %s | %s | %.2f | %.1f | %s | %s | %s | %.2f | %.1f |\n' "$c" "$s" "$S" "$R" \
    "$ct" "$(echo "$ckb / 1024" | bc -l)" "$elims" "$visited" "$peak" "$pt" "$(echo "$pkb / 1024" | bc -l)"
done
