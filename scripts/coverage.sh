#!/usr/bin/env bash
# Line coverage of the program by the whole test suite: a build with --coverage in a folder of
# its own, every test, then gcovr's line summary over the program's folders (tests, benchmarks
# and the files the build generates left out). The full report lands in the build folder as
# coverage.txt.
#   scripts/coverage.sh     (COVERAGE_BUILD_DIR overrides the build folder, default build-coverage)
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${COVERAGE_BUILD_DIR:-$repo/build-coverage}"

"$repo/scripts/install-deps.sh" --test
command -v gcovr >/dev/null || {
    echo "coverage: gcovr is missing (apt-get install gcovr)" >&2
    exit 1
}

# Lightly optimised: the counts still fall on the source's own lines, and the slowest tests
# (damaged files, killed merges) stay well inside their time limits. The engine walks on several
# threads, whose counts must add up atomically or gcov reads nonsense.
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DAUGURLEX_BENCH=OFF \
    "-DCMAKE_CXX_FLAGS=--coverage -O1 -fprofile-update=atomic" \
    -DCMAKE_EXE_LINKER_FLAGS=--coverage
cmake --build "$build" -j2
(cd "$build/tests/oracle/npm" && npm ci --no-audit --no-fund --prefer-offline)
# Counts of an earlier run would add to this one's.
find "$build" -name '*.gcda' -delete
ctest --test-dir "$build" --output-on-failure -j2 || echo "coverage: some tests failed" >&2

cd "$repo"
gcovr --root "$repo" --object-directory "$build" -j 2 \
    --filter '(text|jet|store|lookup|update|ui|viewer|weblinks|update_dialog|app|tools)/' \
    --exclude '.*_autogen/' --exclude '(.*/)?(tests|bench)/' \
    --output "$build/coverage.txt" --print-summary
