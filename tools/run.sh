#!/usr/bin/env bash
# Builds rootsim and runs the full simulation into ./out, replacing the outputs
# of an earlier run there (extra arguments are passed on, e.g.
# tools/run.sh --steps 20000).
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)" --target rootsim
mkdir -p out
exec ./build/rootsim --overwrite "$@" out
