#!/usr/bin/env bash
# Configures and builds into build/ with both cores.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release
cmake --build build -j2
