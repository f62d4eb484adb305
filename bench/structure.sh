#!/usr/bin/env bash
# One line per network of the shared folders: the minimal siphons, the
# minimal traps (each capped at 100000 and given LIMIT seconds) and the
# covering, as bench/structure_runner reports them.
#   bench/structure.sh BUILD [LIMIT] [NETS]
set -u
build=$1
limit=${2:-120}
nets=${3:-$(dirname "$0")/../../shared/nets}
runner=$build/bench/structure_runner  # a build configured with -DCRNINV_BENCH=ON
for f in "$nets"/*.net "$nets"/mcc/*.net "$nets"/mcc-large/*.net; do
  [ -f "$f" ] || continue
  line=$(basename "$f" .net)
  for mode in siphons traps covering; do
    out=$(timeout "$limit" nice "$runner" "$mode" "$f" 100000 2>/dev/null)
    status=$?
    [ $status -eq 124 ] && out="over ${limit} s"
    line="$line | $(echo "$out" | cut -f2- | tr '\t' ' ')"
  done
  echo "$line"
done
