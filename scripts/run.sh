#!/usr/bin/env bash
# Installs what is missing, builds everything and runs the main job on a real dictionary file.
#   scripts/run.sh      (BUILD_DIR overrides the build folder, default ./build)
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$repo/build}"
data="$(cd "$repo/.." && pwd)/shared/testdata"

"$repo/scripts/install-deps.sh"
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j2

sample="$data/jackcess__testV1997.mdb"
"$build/bin/augurlex-dict" info "$sample"
"$build/bin/augurlex-dict" dump "$sample" --table Table1
