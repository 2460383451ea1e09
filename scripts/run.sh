#!/usr/bin/env bash
# Builds the vocabulary trainer and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DQM_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target vocabtrainer
exec build/bin/vocabtrainer "$@"
