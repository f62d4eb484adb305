#!/usr/bin/env bash
# bench/snapshot.sh BUILD OUT [SHARED]
#
# Writes what the programs of BUILD print on every shared input, one file per
# run and stream, so that two builds can be compared byte for byte:
#   diff -r OUT_BEFORE OUT_AFTER
# crninv runs on every network under SHARED/nets in each mode below; sbml2crn
# on SHARED/sbml with each of its options, pnml2crn on SHARED/pnml. A run
# longer than SNAPSHOT_TIMEOUT seconds (default 120) is recorded as such.
# SNAPSHOT_JOBS runs (default 2) go side by side; SNAPSHOT_ONLY, a regular
# expression, keeps the runs whose names match it.
set -euo pipefail
build=$(realpath "$1")
out=$(realpath -m "$2")
shared=$(realpath "${3:-$(dirname "$0")/../../shared}")
timeout=${SNAPSHOT_TIMEOUT:-120}
jobs=${SNAPSHOT_JOBS:-2}
mkdir -p "$out"

modes=(
  "default:"
  "wide:--wide"
  "json:--json"
  "wide_json:--wide --json"
  "transitions:--transitions"
  "semiflows:--semiflows --max-semiflows 100000"
  "tsemiflows:--transitions --semiflows --max-semiflows 100000"
)

# One line per run: NAME<TAB>COMMAND...
list_runs() {
  while read -r net; do
    rel=${net#"$shared"/nets/}
    for mode in "${modes[@]}"; do
      printf '%s\t%s %s %s\n' "crninv/${rel%.net}.${mode%%:*}" "$build/crninv" "${mode#*:}" "$net"
    done
  done < <(find "$shared/nets" -name '*.net' | sort)
  while read -r file; do
    for option in "" --keep-boundary --leave-out-varying; do
      printf '%s\t%s %s %s\n' "sbml2crn/$(basename "$file")${option:+.${option#--}}" \
        "$build/convert/sbml2crn" "$option" "$file"
    done
  done < <(find "$shared/sbml" -type f | sort)
  while read -r file; do
    printf '%s\t%s %s\n' "pnml2crn/${file#"$shared"/pnml/}" "$build/convert/pnml2crn" "$file"
  done < <(find "$shared/pnml" -type f | sort)
}

run_one() {
  local name=${1%%$'\t'*} command=${1#*$'\t'}
  mkdir -p "$(dirname "$out/$name")"
  local status=0
  # shellcheck disable=SC2086  # the command is split into its words
  timeout "$timeout" $command >"$out/$name.out" 2>"$out/$name.err" || status=$?
  if [ "$status" = 124 ]; then
    echo timeout >"$out/$name.status"
  else
    echo "$status" >"$out/$name.status"
  fi
}
export -f run_one
export out timeout

list_runs | grep -E "^[^"$'\t'"]*(${SNAPSHOT_ONLY:-})" | tr '\n' '\0' | xargs -0 -P "$jobs" -I{} bash -c 'run_one "$1"' _ {}
echo "$(find "$out" -name '*.status' | wc -l) runs in $out;" \
  "$(grep -rlx timeout "$out" --include='*.status' | wc -l) timed out"
