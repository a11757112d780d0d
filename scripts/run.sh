#!/usr/bin/env bash
# Installs what is missing, builds everything and starts Augurlex with its bundled dictionaries.
#   scripts/run.sh      (BUILD_DIR overrides the build folder, default ./build)
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$repo/build}"

"$repo/scripts/install-deps.sh"
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j2

# The program reads its dictionaries from its own folder, where the build puts them.
exec "$build/bin/augurlex"
