#!/usr/bin/env bash
# Installs what Kadrel needs, builds it, and runs the main job on the bundled examples.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
./build/bin/kadrel compare examples/specimens examples/references.fas -m k2p
