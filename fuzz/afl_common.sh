# Sourced by fuzz/run.sh and fuzz/convert.sh: the steps that every fuzz
# run shares. The caller sets root (the source tree), build (the build
# folder), script (its name, for messages) and label (what the closing
# lines call the program).

# Builds target with AFL++'s compiler and with AddressSanitizer and
# UndefinedBehaviorSanitizer.
afl_build() {
  local tool
  for tool in afl-fuzz afl-clang-fast afl-clang-fast++; do
    command -v "$tool" >/dev/null || { echo "$script: $tool missing (Debian: afl++)" >&2; exit 2; }
  done
  local sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
  CC=afl-clang-fast CXX=afl-clang-fast++ AFL_QUIET=1 \
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCRNINV_TESTS=OFF \
    -DCMAKE_CXX_FLAGS="$sanitizers" >/dev/null
  AFL_QUIET=1 cmake --build "$build" --target "$1" -j2 >/dev/null
}

# afl_check_findings FINDINGS: refuses a findings folder that holds
# something other than an earlier fuzz run, before anything is emptied.
afl_check_findings() {
  if [[ -d $1 && -n $(ls -A "$1") && ! -f $1/afl.log ]]; then
    echo "$script: $1 is not empty and holds no earlier fuzz run" >&2
    exit 2
  fi
}

# afl_fuzz FINDINGS CORPUS DICTIONARY SECONDS MAX_LENGTH PROGRAM [OPTION]...:
# runs one afl-fuzz instance on PROGRAM OPTION... @@, with inputs of at most
# MAX_LENGTH bytes, then prints its figures. Exits 1 on a failed run; returns
# 1 when it saved a crash or a hang.
afl_fuzz() {
  local findings=$1 corpus=$2 dictionary=$3 seconds=$4 max_length=$5
  shift 5
  afl_check_findings "$findings"
  rm -rf "$findings"
  mkdir -p "$findings"
  # abort_on_error turns every sanitizer report into a signal that AFL++ sees.
  # Leaks are left to the sanitizer and memcheck tests: checking for them on
  # every execution would cost three quarters of the speed.
  export ASAN_OPTIONS=abort_on_error=1:symbolize=0:detect_leaks=0:allocator_may_return_null=1
  export UBSAN_OPTIONS=abort_on_error=1:halt_on_error=1:symbolize=0
  export AFL_SKIP_CPUFREQ=1 AFL_I_DONT_CARE_ABOUT_MISSING_CRASHES=1 AFL_NO_UI=1 AFL_NO_AFFINITY=1
  # A run over 2 seconds is run again with 5 before it is saved as a hang, so
  # that a machine busy with other work does not make one.
  export AFL_HANG_TMOUT=5000
  local status=0
  afl-fuzz -i "$corpus" -o "$findings" -x "$dictionary" -t 2000 -G "$max_length" \
    -V "$seconds" -- "$@" @@ >"$findings/afl.log" 2>&1 || status=$?

  local stats=$findings/default/fuzzer_stats
  if [[ $status -ne 0 || ! -f $stats ]]; then
    tail -n 30 "$findings/afl.log" >&2
    echo "$script: afl-fuzz failed (status $status)" >&2
    exit 1
  fi
  field() { sed -n "s/^$1 *: *//p" "$stats"; }
  echo "$label: $(field execs_done) executions in $(field run_time) s," \
    "coverage $(field bitmap_cvg) ($(field edges_found) of $(field total_edges) edges)," \
    "$(field corpus_count) inputs in the queue"
  local crashes hangs
  crashes=$(field saved_crashes)
  hangs=$(field saved_hangs)
  if [[ $crashes != 0 || $hangs != 0 ]]; then
    echo "$label: $crashes crashes, $hangs hangs; inputs in $findings/default/{crashes,hangs}" >&2
    return 1
  fi
  echo "$label: no crash, no hang"
}
