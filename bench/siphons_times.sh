#!/usr/bin/env bash
# The minimal siphons and traps of every shared network, capped at 100000
# and given LIMIT seconds, by one build or by two side by side (the second
# run right after the first on each network, so that both meet the same
# load):
#   bench/siphons_times.sh BUILD [BUILD2] [-- LIMIT [NETS]]
# NETS defaults to $CRNINV_NETS, else ../shared/nets beside the repository.
# One row per network and kind: for each build the wall time in seconds,
# the count of minimal sets (or "cap" when --max-siphons stopped it, "over"
# past LIMIT, "oom" when it ran out of memory) and the peak resident memory
# in MB, as /usr/bin/time -v reports them. With SIPHONS_OUT=DIR set, each
# run's standard output, error and exit status are kept as
# DIR/K/NETWORK.KIND.{out,err,status}, K the build's place (1 or 2), for
# comparing two builds' answers.
set -u
builds=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do
  builds+=("$(realpath "$1")")
  shift
done
[ $# -gt 0 ] && shift
limit=${1:-120}
nets=$(realpath "${2:-${CRNINV_NETS:-$(dirname "$0")/../../shared/nets}}")
cap=${SIPHONS_CAP:-100000}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# One run: "seconds count peak_MB".
measure() {
  local crninv=$1 option=$2 net=$3 status
  /usr/bin/time -v -o "$scratch/time" timeout "$limit" nice "$crninv" "$option" \
    --max-siphons "$cap" "$net" >"$scratch/out" 2>"$scratch/err"
  status=$?
  if [ -n "${SIPHONS_OUT:-}" ]; then
    local kept="$SIPHONS_OUT/$4/$(basename "$net" .net).${option#--}"
    mkdir -p "$SIPHONS_OUT/$4"
    cp "$scratch/out" "$kept.out"
    cp "$scratch/err" "$kept.err"
    echo "$status" >"$kept.status"
  fi
  local seconds peak count
  seconds=$(awk -F': ' '/Elapsed \(wall clock\)/ {
    n = split($2, t, ":"); s = 0; for (i = 1; i <= n; ++i) s = s * 60 + t[i]; printf "%.2f", s }' \
    "$scratch/time")
  peak=$(awk -F': ' '/Maximum resident set size/ { printf "%.0f", $2 / 1024 }' "$scratch/time")
  case $status in
    0) count=$(awk 'NR == 1 { next } /^\t/ { ++n; next } { exit } END { print n + 0 }' \
      "$scratch/out") ;;
    2) count=cap ;;
    124) count=over ;;
    *) if grep -q "Out of memory" "$scratch/err"; then count=oom; else count="status$status"; fi ;;
  esac
  echo "$seconds $count $peak"
}

header="network kind"
for b in "${builds[@]}"; do header="$header | s count MB"; done
echo "$header"
for f in "$nets"/*.net "$nets"/mcc/*.net "$nets"/mcc-large/*.net; do
  [ -f "$f" ] || continue
  for option in --siphons --traps; do
    line="$(basename "$f" .net) ${option#--}"
    k=0
    for b in "${builds[@]}"; do
      k=$((k + 1))
      line="$line | $(measure "$b/crninv" "$option" "$f" "$k")"
    done
    echo "$line"
  done
done
