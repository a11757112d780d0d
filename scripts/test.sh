#!/usr/bin/env bash
# Installs what is missing, checks that includes respect the layers and that every file is
# formatted, then builds and runs every test: the normal build with the oracle comparisons and
# the Debian package's acceptance test (tests/package), the sanitizer build of the engine and its
# tests, and a one-minute fuzz run.
#   scripts/test.sh     (BUILD_DIR, ASAN_BUILD_DIR, FUZZ_BUILD_DIR override the build folders)
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$repo/build}"
asan="${ASAN_BUILD_DIR:-$repo/build-asan}"
fuzz_seconds="${FUZZ_SECONDS:-60}"

"$repo/scripts/install-deps.sh" --test

echo "== layers and formatting"
python3 "$repo/scripts/check-layers.py"
"$repo/scripts/format.sh" --check

echo "== build and test"
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j2
(cd "$build/tests/oracle/npm" && npm ci --no-audit --no-fund --prefer-offline)
ctest --test-dir "$build" --output-on-failure -j2

echo "== sanitizer build (ASan, UBSan) of the engine and its tests"
cmake -S "$repo" -B "$asan" -DCMAKE_BUILD_TYPE=Debug -DAUGURLEX_SANITIZE=ON -DAUGURLEX_BENCH=OFF
cmake --build "$asan" -j2 --target jet_tests jet_writer_tests jet_index_tests mutation_tests store_tests
ctest --test-dir "$asan" --output-on-failure -j2 -L engine

echo "== fuzz run (${fuzz_seconds} s)"
"$repo/scripts/fuzz.sh" "$fuzz_seconds"
