#!/usr/bin/env bash
# Installs what is missing, builds the game (Release) and starts it from its runnable folder; options go
# to the game (bash scripts/run.sh --lang en).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j"$(nproc)" --target voltrana
cd build/game
exec ./voltrana "$@"
