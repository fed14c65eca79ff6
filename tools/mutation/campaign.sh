#!/usr/bin/env bash
# The fault campaign: applies each fault of faults.txt alone to a copy of the tree at COMMIT, rebuilds
# incrementally and runs the test executables (not the soak), recording which tests fail. The unit
# and rendering executables run for every fault; the end-to-end ones only when those let the fault
# through, the hardening ones only when all of those did, and the install test last: enough to decide
# whether the suite catches it. VOLTRANA_FULL_MATRIX=1 runs every suite for every fault instead (results
# in results/COMMIT-full), so that matrix.py can tell which faults each test alone catches. It takes
# hours, so it is no part of the test command.
#   tools/mutation/campaign.sh [COMMIT [FAULT-ID...]]   run (all faults, or the named ones)
#   tools/mutation/campaign.sh --compare OLD NEW          faults OLD's suite caught that NEW's missed
#   python3 tools/mutation/matrix.py RESULTS-FOLDER       which faults each test catches, and alone
# To compare two suites cheaply, run the new one on every fault, then the old one on the faults the
# new one let through (--missed NEW lists them).
# Work folder $VOLTRANA_MUTANTS (default /tmp/voltrana-mutants): tree/, build/, results/COMMIT/ with
# ID.failed (the failing tests) and summary.txt (ID and how many tests failed).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
work=${VOLTRANA_MUTANTS:-/tmp/voltrana-mutants}

if [ "${1:-}" = --missed ]; then
  for f in "$work/results/$2"/*.failed; do [ -s "$f" ] || basename "$f" .failed; done | grep -v '^none$' || true
  exit 0
fi
if [ "${1:-}" = --compare ]; then
  for f in "$work/results/$2"/*.failed; do
    id=$(basename "$f" .failed)
    new="$work/results/$3/$id.failed"
    [ -s "$f" ] && [ "$id" != none ] && { [ -f "$new" ] && [ -s "$new" ] || echo "lost: $id"; }
  done
  exit 0
fi

commit=$(git -C "$repo" rev-parse --short "${1:-HEAD}")
shift || true
full=${VOLTRANA_FULL_MATRIX:-0}
out=$work/results/$commit
[ "$full" = 1 ] && out=$out-full
mkdir -p "$out"
# A clone of its own: a checkout touches only the files that changed, so the build stays incremental.
[ -d "$work/tree/.git" ] || git clone -q --no-checkout "$repo" "$work/tree"
git -C "$work/tree" fetch -q "$repo" "+refs/heads/*:refs/remotes/origin/*"
git -C "$work/tree" checkout -q --force --detach "$commit"
export CCACHE_BASEDIR=$work/tree ALSOFT_DRIVERS=null
cmake -S "$work/tree" -B "$work/build" -DCMAKE_BUILD_TYPE=Release >/dev/null

# suite NAME LOG: runs one test executable in the runnable folder; prints its failing tests, or
# "NAME crashed" when it stopped without naming one.
suite() {
  local status=0
  (cd "$work/build/game" && SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy \
    timeout 900 "../tests/$1_tests" --gtest_brief=1 >"$2" 2>&1) || status=$?
  sed -n 's/^\[  FAILED  \] \([A-Za-z0-9_/.]*\).*/\1/p' "$2" | { grep -v '^[0-9]' || true; } | sort -u >"$2.failed"
  [ "$status" != 0 ] && [ ! -s "$2.failed" ] && echo "$1 crashed" >"$2.failed"
  cat "$2.failed"
}
# The install test (CTest "Install") needs the whole build.
install_suite() {
  cmake --build "$work/build" -j2 >"$1.install" 2>&1 && bash "$work/tree/tests/install/install_test.sh" \
    "$work/build" >>"$1.install" 2>&1 || echo Install
}
export -f suite
export work

# run ID: builds and runs the suite, writing the failing tests (or "build failed") to ID.failed.
run() {
  if ! cmake --build "$work/build" -j2 --target voltrana voltrana-demo platform_tests engine_tests render_tests \
    game_tests menu_tests content_tests e2e_tests hardening_tests >"$out/$1.log" 2>&1; then
    echo "build failed" >"$out/$1.failed"
    return
  fi
  if [ "$full" = 1 ]; then
    printf '%s\n' e2e hardening platform engine render game menu content |
      xargs -P2 -I{} bash -c "suite {} $out/$1.{}" | sort -u >"$out/$1.failed"
    install_suite "$out/$1" >>"$out/$1.failed"
  else
    printf '%s\n' platform engine render game menu content |
      xargs -P2 -I{} bash -c "suite {} $out/$1.{}" | sort -u >"$out/$1.failed"
    # The scripted runs, then the hardening runs, then the install test, each only while the fault
    # is still uncaught.
    for slow in e2e hardening install; do
      [ -s "$out/$1.failed" ] && [ "$1" != none ] && break
      if [ "$slow" = install ]; then
        install_suite "$out/$1" >>"$out/$1.failed"
      else
        suite "$slow" "$out/$1.$slow" >>"$out/$1.failed"
      fi
    done
  fi
  rm -f "$out/$1".*.failed
}

ids=("$@")
[ ${#ids[@]} -eq 0 ] && ids=(none $(sed -n 's/^@ \([^ ]*\).*/\1/p' "$here/faults.txt"))
for id in "${ids[@]}"; do
  if [ "$id" = none ]; then
    run none
  else
    file=$(python3 "$here/apply.py" "$here/faults.txt" "$id" "$work/tree") || { echo "$id: does not apply"; continue; }
    run "$id"
    git -C "$work/tree" checkout -q -- "$file"
  fi
  echo "$id $(wc -l <"$out/$id.failed")" | tee -a "$out/summary.txt"
done
