#!/usr/bin/env bash
# Fuzzes crninv with AFL++ for a bounded time, in one mode or several, and
# fails on any crash or hang.
#
#   usage: fuzz/run.sh SECONDS [MODE[,MODE]...] [FINDINGS_DIR]
#
# A mode is a set of options of the tool:
#
#   default                the plain report (the mode when none is named)
#   wide                   --wide
#   json                   --json
#   transitions            --transitions
#   semiflows              --semiflows --max-semiflows 1000
#   transitions-semiflows  --transitions --semiflows --max-semiflows 1000
#   all                    each of the above
#
# Several modes run one after the other, each for an equal share of SECONDS.
# Builds the tool with AFL++'s compiler and with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/, gathers one corpus for every
# mode (examples/, the command-line test inputs, fuzz/seeds/) and runs one
# afl-fuzz instance per mode on the whole pipeline: lexer, parser, matrix,
# reduction or semiflows, and report. Exit statuses 1 and 2 (the semiflow
# cap) are ordinary outcomes; only a signal (a sanitizer report aborts)
# counts as a crash, and a run longer than the timeout as a hang.
#
# The findings of the default mode go to FINDINGS_DIR (default
# build-fuzz/findings), those of another mode to FINDINGS_DIR-MODE; each is
# emptied first, and crashing and hanging inputs are left in its
# default/crashes and default/hangs folders. A folder given in second place
# (it has a '/': /tmp/x, ./x) is FINDINGS_DIR for the default mode.
set -euo pipefail
usage="usage: fuzz/run.sh SECONDS [MODE[,MODE]...] [FINDINGS_DIR]"
seconds=${1:?$usage}
modes=${2:-default}
base=${3:-}
if [[ $# -eq 2 && $modes == */* ]]; then
  base=$modes
  modes=default
fi
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
base=${base:-$build/findings}

all_modes=(default wide json transitions semiflows transitions-semiflows)

# mode_options MODE: sets options to the tool's options in MODE and
# max_length to the largest input, in bytes. 40 kB crosses the tool's 16 kB
# reading chunks twice and keeps a reduction on 32 bits short. The wide
# reduction and the semiflows are honestly slow on large networks (a random
# network of 40 kB takes up to a minute under the sanitizers): 4 kB keeps their
# worst cases near half a second, so that a run over the timeout is a fault.
mode_options() {
  max_length=40000
  case $1 in
    default) options=() ;;
    wide) options=(--wide) max_length=4096 ;;
    json) options=(--json) ;;
    transitions) options=(--transitions) ;;
    semiflows) options=(--semiflows --max-semiflows 1000) max_length=4096 ;;
    transitions-semiflows)
      options=(--transitions --semiflows --max-semiflows 1000) max_length=4096
      ;;
    *)
      echo "fuzz/run.sh: unknown mode '$1' (${all_modes[*]}, all)" >&2
      echo "$usage" >&2
      exit 2
      ;;
  esac
}

findings_of() {
  if [[ $1 == default ]]; then echo "$base"; else echo "$base-$1"; fi
}

selected=()
IFS=, read -r -a named <<<"$modes"
for mode in "${named[@]}"; do
  if [[ $mode == all ]]; then selected+=("${all_modes[@]}"); else selected+=("$mode"); fi
done
[[ ${#selected[@]} -gt 0 ]] || { echo "$usage" >&2; exit 2; }
share=$((seconds / ${#selected[@]}))
[[ $share -gt 0 ]] || { echo "fuzz/run.sh: $seconds s cannot be shared by ${#selected[@]} modes" >&2; exit 2; }

script=fuzz/run.sh
source "$root/fuzz/afl_common.sh"
# Every mode and folder is checked before any fuzzing starts.
for mode in "${selected[@]}"; do
  mode_options "$mode"
  afl_check_findings "$(findings_of "$mode")"
done
afl_build crninv

# The corpus: every network the project ships, under distinct names.
corpus=$build/corpus
rm -rf "$corpus" "$corpus"-upto-*
mkdir -p "$corpus"
for f in "$root"/examples/*.net "$root"/fuzz/seeds/*.net; do
  cp "$f" "$corpus/$(basename "$f")"
done
for f in "$root"/tests/cli/*/*.net; do
  case_name=$(basename "$(dirname "$f")")
  cp "$f" "$corpus/cli_$case_name.net"
done

# corpus_upto LENGTH: the folder of the corpus's inputs of at most LENGTH
# bytes, made on first use (afl-fuzz would not shorten a longer one).
corpus_upto() {
  local folder=$corpus-upto-$1 f
  if [[ ! -d $folder ]]; then
    mkdir -p "$folder"
    for f in "$corpus"/*; do
      [[ $(stat -c %s "$f") -gt $1 ]] || cp "$f" "$folder/"
    done
  fi
  echo "$folder"
}

failed=()
for mode in "${selected[@]}"; do
  mode_options "$mode"
  label="fuzz crninv${options[*]:+ ${options[*]}}"
  from=$(corpus_upto "$max_length")
  afl_fuzz "$(findings_of "$mode")" "$from" "$root/fuzz/crn.dict" "$share" "$max_length" \
    "$build/crninv" "${options[@]}" || failed+=("$mode")
done
if [[ ${#failed[@]} -gt 0 ]]; then
  echo "fuzz/run.sh: crashes or hangs in mode ${failed[*]}" >&2
  exit 1
fi
