#!/usr/bin/env bash
# Installs what the tests need, builds, and runs every test through CTest, then the unit and
# fuzz tests of a sanitizer build, then builds the Debian package, installs it, checks what it
# installed and removes it again.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j2

# The unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer (clang++), with a
# short run of each fuzz target; t_coffee, R and the runs under memory limits are left to the
# build above.
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DKADREL_SANITIZE=ON -DKADREL_FUZZ=ON
cmake --build build-asan -j2
ctest --test-dir build-asan --output-on-failure -j2 -LE 'integration|peer|memory_limits'

# The package as a lab would install it (scripts/check-package.sh says what is checked).
bash scripts/check-package.sh
