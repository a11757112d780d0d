#!/usr/bin/env bash
# Builds the program and photographs its main window, as it opens with the bundled
# dictionaries, on a virtual screen: docs/main-window.png (or the file given).
#   scripts/screenshot.sh [out.png]     (BUILD_DIR overrides the build folder, default ./build)
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$repo/build}"
out="$(realpath -m "${1:-$repo/docs/main-window.png}")"

cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target augurlex dictionaries

command -v import >/dev/null || { echo "screenshot: needs ImageMagick (apt-get install imagemagick)" >&2; exit 1; }

# A runtime folder of its own, so a copy the user is running does not refuse this one.
runtime="$(mktemp -d)"
trap 'rm -rf "$runtime"' EXIT
# Qt WebEngine on a virtual screen: software drawing; as root it runs only without its sandbox.
# These settings are for this photograph alone.
export QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu
if ((EUID == 0)); then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi
XDG_RUNTIME_DIR="$runtime" xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    program="$1" out="$2"
    "$program" &
    pid=$!
    if command -v xwininfo >/dev/null; then
        for _ in $(seq 50); do
            xwininfo -root -tree 2>/dev/null | grep -q "\"Augurlex v1.95\"" && break
            sleep 0.2
        done
        sleep 1 # let the first paint finish
    else
        sleep 5
    fi
    import -window "Augurlex v1.95" "$out"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
' screenshot "$build/bin/augurlex" "$out"
echo "screenshot: $out"
