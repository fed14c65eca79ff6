#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test through CTest; then the unit,
# rendering and hardening tests under the address and undefined-behaviour sanitizers, each fuzzer for
# a bounded time, and the soak run.
#
#   VOLTRANA_FUZZ_SECONDS   seconds per fuzzer (default 12; 0 skips fuzzing)
#   VOLTRANA_SKIP_ASAN=1    skips the sanitizer build
#   VOLTRANA_SKIP_SOAK=1    skips the soak run
#   VOLTRANA_SOAK_FRAMES    frames of the soak run (default 20000; 100000 for the full run)
#   VOLTRANA_SOAK_STRICT=0  a failed soak run is only reported (by default it fails the command)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=$(nproc)
fuzz_seconds=${VOLTRANA_FUZZ_SECONDS:-12}
declare -a stage_times=()
stage_start=$SECONDS
stage_done() {
  stage_times+=("$(printf '%-28s %5d s' "$1" $((SECONDS - stage_start)))")
  stage_start=$SECONDS
}
report() {
  echo "== stage times"
  printf '   %s\n' "${stage_times[@]}"
}
trap report EXIT

bash scripts/install-deps.sh
bash scripts/check-layers.sh
stage_done "install and layer check"

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$jobs"
stage_done "release build"
export ALSOFT_DRIVERS=null
ctest --test-dir build --output-on-failure -j"$jobs" -LE soak
stage_done "release tests"

# The sanitizer build: the unit, rendering and hardening tests (and what they run), with leak checking
# at exit, lightly optimised so that it builds quickly. The hardening runs take the demo runner through
# a level and back, so the scripted runs would only replay the same code more slowly; the content
# checks run no game code. Leaks that the system libraries keep for the life of the process are
# listed in lsan.supp; ours never are.
if [ "${VOLTRANA_SKIP_ASAN:-0}" != 1 ]; then
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVOLTRANA_SANITIZE=ON \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1"
  cmake --build build-asan -j"$jobs" --target platform_tests engine_tests render_tests game_tests \
    menu_tests hardening_tests voltrana
  stage_done "sanitizer build"
  # Mesa unloads its driver before exit, which would leave the driver's own leaks nameless; keeping
  # it loaded lets lsan.supp name it.
  dri=$(ls /usr/lib/*/dri/swrast_dri.so /usr/lib/*/libEGL_mesa.so.0 2>/dev/null | tr '\n' ':' || true)
  export ASAN_OPTIONS="detect_leaks=1:verify_asan_link_order=0:abort_on_error=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
  LD_PRELOAD="$dri" ctest --test-dir build-asan --output-on-failure -j"$jobs" -E '_NOT_BUILT' --timeout 900
  unset ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS
  stage_done "sanitizer tests"
fi

# Fuzzing: clang's libFuzzer, in a folder of its own. Each fuzzer starts from a corpus made from the
# real content and a few hand-written seeds, and runs for a bounded time; a crash fails the run.
if [ "$fuzz_seconds" != 0 ]; then
  # Lightly optimised, as it builds in a fraction of the time and fuzzes only seconds.
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -DVOLTRANA_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1"
  cmake --build build-fuzz -j"$jobs" --target fuzzers
  stage_done "fuzzer build"
  bash scripts/fuzz.sh "$fuzz_seconds"
  stage_done "fuzzing (${fuzz_seconds} s each)"
fi

if [ "${VOLTRANA_SKIP_SOAK:-0}" != 1 ]; then
  # CI's time is bounded: the soak there runs 20,000 frames (memory compared in the main menu after
  # frame 10,000 and at the end; earlier the driver still settles); set VOLTRANA_SOAK_FRAMES=100000
  # for the full run.
  export VOLTRANA_SOAK_FRAMES=${VOLTRANA_SOAK_FRAMES:-20000}
  # Verbose, so that the memory figures the soak reports appear in the log when it passes too.
  if ctest --test-dir build --verbose -L soak; then
    stage_done "soak"
  elif [ "${VOLTRANA_SOAK_STRICT:-1}" = 1 ]; then
    stage_done "soak (FAILED)"
    exit 1
  else
    echo "== the soak run FAILED (reported only, as VOLTRANA_SOAK_STRICT=0 asked)"
    stage_done "soak (FAILED, reported)"
  fi
fi
