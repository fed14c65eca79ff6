#!/usr/bin/env bash
# The fault campaign: applies each fault of faults.txt alone to a copy of the tree at COMMIT, rebuilds
# incrementally and runs the test executables (not the soak), recording which tests fail. The unit
# and rendering executables run for every fault; the end-to-end ones only when those let the fault
# through, and the hardening ones only when all of those did: enough to decide whether the suite
# catches it. It takes an hour or more, so
# it is no part of the test command.
#   tools/mutation/campaign.sh [COMMIT [FAULT-ID...]]   run (all faults, or the named ones)
#   tools/mutation/campaign.sh --compare OLD NEW          faults OLD's suite caught that NEW's missed
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
out=$work/results/$commit
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
export -f suite
export work

# run ID: builds and runs the suite, writing the failing tests (or "build failed") to ID.failed.
run() {
  if ! cmake --build "$work/build" -j2 --target voltrana voltrana-demo platform_tests engine_tests render_tests \
    game_tests menu_tests content_tests e2e_tests hardening_tests >"$out/$1.log" 2>&1; then
    echo "build failed" >"$out/$1.failed"
    return
  fi
  printf '%s\n' platform engine render game menu content |
    xargs -P2 -I{} bash -c "suite {} $out/$1.{}" | sort -u >"$out/$1.failed"
  # The scripted runs, then the hardening runs, each only while the fault is still uncaught.
  for slow in e2e hardening; do
    [ -s "$out/$1.failed" ] && [ "$1" != none ] && break
    suite "$slow" "$out/$1.$slow" >>"$out/$1.failed"
  done
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
