#!/usr/bin/env bash
# A bounded libFuzzer run over opening and dumping database files (clang, ASan, UBSan).
#   scripts/fuzz.sh [SECONDS]     default 60; FUZZ_BUILD_DIR overrides ./build-fuzz
# Seeds are the test-data files, linked (not copied) into the build folder at each run.
# Crashing inputs land in $FUZZ_BUILD_DIR/artifacts/.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
seconds="${1:-60}"
build="${FUZZ_BUILD_DIR:-$repo/build-fuzz}"
data="$repo/tests/data"

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
CC=clang CXX=clang++ cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DAUGURLEX_FUZZ=ON -DAUGURLEX_BENCH=OFF -DCMAKE_CXX_FLAGS="$flags" >/dev/null
cmake --build "$build" -j2 --target fuzz_open_dump

seeds="$build/fuzz-seeds"
corpus="$build/fuzz-corpus"
rm -rf "$seeds"
mkdir -p "$seeds" "$corpus" "$build/artifacts" "$build/tmp"
export TMPDIR="$build/tmp" # the target's scratch file stays in the build folder
if [[ -d "$data" ]]; then
    # Files small enough for quick runs; the 3 MB ones would slow every iteration.
    find "$data" \( -name '*.mdb' -o -name '*.accdb' \) -size -400k -exec ln -s {} "$seeds/" \;
else
    echo "fuzz: no test data; starting from an empty corpus"
fi

"$build/bin/fuzz_open_dump" "$corpus" "$seeds" \
    -max_total_time="$seconds" -max_len=409600 -timeout=20 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$build/artifacts/"
