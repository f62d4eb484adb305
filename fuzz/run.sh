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

for tool in afl-fuzz afl-clang-fast afl-clang-fast++; do
  command -v "$tool" >/dev/null || { echo "fuzz/run.sh: $tool missing (Debian: afl++)" >&2; exit 2; }
done

sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
CC=afl-clang-fast CXX=afl-clang-fast++ AFL_QUIET=1 \
  cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCRNINV_TESTS=OFF \
  -DCMAKE_CXX_FLAGS="$sanitizers" >/dev/null
AFL_QUIET=1 cmake --build "$build" --target crninv -j2 >/dev/null

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

# Only an earlier run's folder is emptied, never some other one given by mistake.
if [[ -d $findings && -n $(ls -A "$findings") && ! -f $findings/afl.log ]]; then
  echo "fuzz/run.sh: $findings is not empty and holds no earlier fuzz run" >&2
  exit 2
fi
rm -rf "$findings"
mkdir -p "$findings"
# abort_on_error turns every sanitizer report into a signal that AFL++ sees.
# Leaks are left to the sanitizer and memcheck tests: checking for them on
# every execution would cost three quarters of the speed.
export ASAN_OPTIONS=abort_on_error=1:symbolize=0:detect_leaks=0:allocator_may_return_null=1
export UBSAN_OPTIONS=abort_on_error=1:halt_on_error=1:symbolize=0
export AFL_SKIP_CPUFREQ=1 AFL_I_DONT_CARE_ABOUT_MISSING_CRASHES=1 AFL_NO_UI=1 AFL_NO_AFFINITY=1
# Inputs stay below 40 kB: enough to cross the reader's 16 kB chunks twice,
# small enough to keep the matrices, and so each execution, small.
status=0
afl-fuzz -i "$corpus" -o "$findings" -x "$root/fuzz/crn.dict" -t 2000 -G 40000 \
  -V "$seconds" -- "$build/crninv" @@ >"$findings/afl.log" 2>&1 || status=$?

stats=$findings/default/fuzzer_stats
if [[ $status -ne 0 || ! -f $stats ]]; then
  tail -n 30 "$findings/afl.log" >&2
  echo "fuzz/run.sh: afl-fuzz failed (status $status)" >&2
  exit 1
fi
field() { sed -n "s/^$1 *: *//p" "$stats"; }
echo "fuzz: $(field execs_done) executions in $(field run_time) s," \
  "coverage $(field bitmap_cvg) ($(field edges_found) of $(field total_edges) edges)," \
  "$(field corpus_count) inputs in the queue"
crashes=$(field saved_crashes)
hangs=$(field saved_hangs)
if [[ $crashes != 0 || $hangs != 0 ]]; then
  echo "fuzz: $crashes crashes, $hangs hangs; inputs in $findings/default/{crashes,hangs}" >&2
  exit 1
fi
echo "fuzz: no crash, no hang"
