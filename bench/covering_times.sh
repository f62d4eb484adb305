#!/usr/bin/env bash
# crninv --covering with two builds side by side on every network of the
# shared folders mcc/ and mcc-large/: the seconds and the peak memory of
# each run (GNU time's elapsed and maximum resident size), the before run
# and the after run of a network one right after the other, and whether
# the two agree on the covered species and reactions (the certificates may
# differ). A run past LIMIT seconds (default 120) is written as such.
#   bench/covering_times.sh BEFORE_BUILD AFTER_BUILD [LIMIT] [NETS]
set -u
before=$1
after=$2
limit=${3:-120}
nets=${4:-$(dirname "$0")/../../shared/nets}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# One run: "SECONDS MB" (or "over LIMIT s"), the report in $scratch/$2.
measure() {
  local build=$1 tag=$2 net=$3
  /usr/bin/time -f '%e %M' -o "$scratch/$tag.time" timeout "$limit" nice \
    "$build/crninv" --covering "$net" >"$scratch/$tag.out" 2>/dev/null
  if [ $? -eq 124 ]; then
    echo "over ${limit} s"
  else
    awk '{printf "%.2f s %.0f MB", $1, $2 / 1024}' "$scratch/$tag.time"
  fi
}

# The report without its certificate lines.
covered() { awk '/^Certificate/ { skip = 1; next } skip { skip = 0; next } { print }' "$1"; }

echo "| network | before | after | covered sets |"
echo "|---|---|---|---|"
for f in "$nets"/mcc/*.net "$nets"/mcc-large/*.net; do
  [ -f "$f" ] || continue
  old=$(measure "$before" before "$f")
  new=$(measure "$after" after "$f")
  if cmp -s <(covered "$scratch/before.out") <(covered "$scratch/after.out"); then
    same=same
  else
    same=DIFFER
  fi
  echo "| $(basename "$f" .net) | $old | $new | $same |"
done
