#!/usr/bin/env bash
# Fuzzes one converter (sbml2crn or pnml2crn) with AFL++ for a bounded time
# and fails on any crash or hang.
#
#   usage: fuzz/convert.sh sbml|pnml SECONDS [FINDINGS_DIR]
#
# Builds the converter with AFL++'s compiler and with AddressSanitizer and
# UndefinedBehaviorSanitizer into build-fuzz/ (the configuration of
# fuzz/run.sh), starts from the inputs of the converter's test cases (a
# file of every dialect and feature) and fuzz/seeds-FORMAT/, plus, for
# PNML, one of them gzip-compressed, and gives AFL++ the format's words
# (fuzz/sbml.dict, fuzz/pnml.dict). Exit
# status 1 is one of the converter's ordinary outcomes; only a signal (a
# sanitizer report aborts) counts as a crash, and a run longer than the
# timeout as a hang. FINDINGS_DIR (default build-fuzz/findings-FORMAT) is
# emptied first; crashing and hanging inputs are left in its
# default/crashes and default/hangs folders.
set -euo pipefail
usage="usage: fuzz/convert.sh sbml|pnml SECONDS [FINDINGS_DIR]"
format=${1:?$usage}
seconds=${2:?$usage}
[[ $format == sbml || $format == pnml ]] || { echo "$usage" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
findings=${3:-$build/findings-$format}
program=${format}2crn

script=fuzz/convert.sh
label="fuzz $program"
source "$root/fuzz/afl_common.sh"
afl_build "$program"
binary=$build/convert/$program

# The corpus: the input of every test case of the converter.
corpus=$build/corpus-$format
rm -rf "$corpus"
mkdir -p "$corpus"
for f in "$root"/tests/convert/"$format"/*/input.* "$root"/fuzz/seeds-"$format"/*; do
  [[ -f $f ]] || continue
  cp -L "$f" "$corpus/$(basename "$(dirname "$f")")_$(basename "$f")"
done
# pnml2crn reads a compressed file through zlib (libSBML goes by the name).
if [[ $format == pnml ]]; then
  first=$(ls "$corpus" | head -n 1)
  gzip -n -c "$corpus/$first" >"$corpus/compressed_$first.gz"
fi

# Inputs stay below 40 kB, as crninv's do.
afl_fuzz "$findings" "$corpus" "$root/fuzz/$format.dict" "$seconds" 40000 "$binary"
