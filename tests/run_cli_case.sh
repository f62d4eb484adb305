#!/bin/bash
# Runs crninv on one command-line case and compares what it writes, byte for
# byte, with what the case expects.
#
#   usage: run_cli_case.sh <crninv binary> <case folder>
#
# A case folder holds:
#   args      arguments, one per line (absent: the single argument input.net;
#             an empty file: no argument at all)
#   input.net the network, when the case needs one
#   setup     optional bash snippet, run first inside the scratch copy of the
#             folder (CASE_DIR names the case folder itself); it may make
#             FIFOs, directories, generated inputs and expected files
#   redirect  optional: where standard output goes instead of being captured,
#             a path such as /dev/full or the word "closed"; the expected
#             stdout is then not compared
#   stdout, stderr, status   the exact expected bytes and exit status
set -u
bin=$(realpath "$1")
export CASE_DIR
CASE_DIR=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp -R "$CASE_DIR"/. "$work"
cd "$work" || exit 2

if [[ -f setup ]] && ! bash ./setup </dev/null >/dev/null 2>&1; then
  echo "setup of $CASE_DIR failed"
  exit 1
fi
args=(input.net)
[[ -f args ]] && mapfile -t args <args
redirect=
[[ -f redirect ]] && redirect=$(<redirect)

case $redirect in
  '') (exec -a crninv "$bin" "${args[@]}") </dev/null >actual.stdout 2>actual.stderr ;;
  closed) (exec -a crninv "$bin" "${args[@]}") </dev/null >&- 2>actual.stderr ;;
  *) (exec -a crninv "$bin" "${args[@]}") </dev/null >"$redirect" 2>actual.stderr ;;
esac
status=$?

source "$(dirname "${BASH_SOURCE[0]}")/compare_bytes.sh"
[[ -z $redirect ]] && compare stdout actual.stdout
compare stderr actual.stderr
if [[ $status != "$(<status)" ]]; then
  echo "exit status $status, expected $(<status)"
  failed=1
fi
exit $failed
