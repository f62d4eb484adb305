#!/usr/bin/env bash
# Fuzzes crninv with AFL++ for a bounded time and fails on any crash or hang.
#
#   usage: fuzz/run.sh SECONDS [FINDINGS_DIR]
#
# Builds the tool with AFL++'s compiler and with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/, gathers a corpus (examples/,
# the command-line test inputs, fuzz/seeds/), and runs one afl-fuzz instance
# on the whole pipeline: lexer, parser, matrix, reduction and report. An
# exit status of 1 is one of the tool's ordinary outcomes; only a signal (a
# sanitizer report aborts) counts as a crash, and a run longer than the
# timeout as a hang. FINDINGS_DIR (default build-fuzz/findings) is emptied
# first; crashing and hanging inputs are left in its default/crashes and
# default/hangs folders.
set -euo pipefail
seconds=${1:?usage: fuzz/run.sh SECONDS [FINDINGS_DIR]}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
findings=${2:-$build/findings}

script=fuzz/run.sh
label=fuzz
source "$root/fuzz/afl_common.sh"
afl_build crninv

# The corpus: every network the project ships, under distinct names.
corpus=$build/corpus
rm -rf "$corpus"
mkdir -p "$corpus"
for f in "$root"/examples/*.net "$root"/fuzz/seeds/*.net; do
  cp "$f" "$corpus/$(basename "$f")"
done
for f in "$root"/tests/cli/*/*.net; do
  case_name=$(basename "$(dirname "$f")")
  cp "$f" "$corpus/cli_$case_name.net"
done

afl_fuzz "$findings" "$corpus" "$root/fuzz/crn.dict" "$seconds" "$build/crninv"
