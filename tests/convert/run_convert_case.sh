#!/bin/bash
# Runs a converter (sbml2crn, pnml2crn) on one case and compares what it
# writes, byte for byte, with what the case expects; then, when the case
# says so, runs crninv on the converted network and compares its report.
#
#   usage: run_convert_case.sh <converter> <crninv> <case folder>
#
# A case folder holds:
#   args         arguments, one per line (absent: the single input file,
#                input.xml or input.pnml; an empty file: no argument)
#   stdout       the exact network text expected
#   stderr       the exact standard error expected, or instead
#   stderr.head  what standard error must start with (the rest, which is a
#                library's own wording, must merely be there)
#   status       the exit status expected
#   report       optional: crninv's exact standard output on the network
set -u
converter=$(realpath "$1")
crninv=$(realpath "$2")
case_dir=$(realpath "$3")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# -L: a case may share the input of another through a symbolic link.
cp -RL "$case_dir"/. "$work"
cd "$work" || exit 2

args=()
for f in input.xml input.pnml; do [[ -f $f ]] && args=("$f"); done
[[ -f args ]] && mapfile -t args <args
"$converter" "${args[@]}" </dev/null >actual.stdout 2>actual.stderr
status=$?

source "$(dirname "${BASH_SOURCE[0]}")/../compare_bytes.sh"
compare stdout actual.stdout stdout
if [[ -f stderr.head ]]; then
  size=$(stat -c %s stderr.head)
  compare stderr.head <(head -c "$size" actual.stderr) "start of stderr"
  if (($(stat -c %s actual.stderr) <= size)); then
    echo "stderr ends after its expected start:"
    cat -A actual.stderr
    failed=1
  fi
else
  compare stderr actual.stderr stderr
fi
if [[ $status != "$(<status)" ]]; then
  echo "exit status $status, expected $(<status)"
  failed=1
fi

if [[ -f report ]]; then
  cp actual.stdout converted.net
  "$crninv" converted.net </dev/null >report.stdout 2>report.stderr
  crninv_status=$?
  compare report report.stdout "crninv's report"
  if ((crninv_status != 0)); then
    echo "crninv exit status $crninv_status on the converted network:"
    cat report.stderr
    failed=1
  fi
fi
exit $failed
