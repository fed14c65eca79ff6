#!/usr/bin/env bash
# Runs every fuzzer built in build-fuzz for SECONDS each (default 30), starting from a corpus made
# from the built content (build/game) and the hand-written seeds in tests/fuzz/seeds. A crash stops
# with its input saved in build-fuzz/artifacts.
#   scripts/fuzz.sh [SECONDS] [FUZZER...]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
shift || true
fuzzers=("$@")
[ ${#fuzzers[@]} -eq 0 ] && fuzzers=(config scene model bitmap wav script)
game=build/game
[ -d "$game/models" ] || { echo "fuzz.sh: build the game first (build/game)"; exit 1; }
corpus=build-fuzz/corpus
mkdir -p build-fuzz/artifacts

seed() {  # seed NAME FILES...: copies content into the fuzzer's corpus
  local name=$1
  shift
  mkdir -p "$corpus/$name"
  for f in "$@"; do [ -f "$f" ] && cp -f "$f" "$corpus/$name/seed-$(basename "$f")"; done
}
seed config "$game/config.ini" tests/fuzz/seeds/config/*
seed scene "$game"/models/*.geo
seed model "$game"/models/*.shd
seed wav "$game"/sounds/*.wav
seed bitmap build/generated/bitmaps/*.bmp
seed script tests/e2e/scripts/*.txt tests/fuzz/seeds/script/*

status=0
for name in "${fuzzers[@]}"; do
  exe=build-fuzz/tests/${name}_fuzzer
  [ -x "$exe" ] || { echo "fuzz.sh: $exe is not built"; exit 1; }
  echo "== ${name}_fuzzer for ${seconds} s"
  if ! ASAN_OPTIONS=detect_leaks=1 "$exe" "$corpus/$name" -max_total_time="$seconds" -rss_limit_mb=2048 \
      -timeout=10 -max_len=65536 -print_final_stats=1 -artifact_prefix="build-fuzz/artifacts/${name}-" 2>"build-fuzz/$name.log"; then
    tail -n 60 "build-fuzz/$name.log"
    status=1
  fi
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb)' "build-fuzz/$name.log" || true
done
exit $status
