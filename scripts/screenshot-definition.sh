#!/usr/bin/env bash
# Photographs the main window showing a definition page, on a virtual screen:
# docs/definition.png (or the file given). The program runs over a program folder of its own
# with one small dictionary whose link points at a page served on 127.0.0.1; the term is typed
# into the search box, Enter lists it, and a double click on the keyword opens its page.
#   scripts/screenshot-definition.sh [out.png]   (BUILD_DIR overrides the build folder, default ./build)
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$repo/build}"
out="$(realpath -m "${1:-$repo/docs/definition.png}")"

cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target program_on_display

work="$(mktemp -d)"
server=""
cleanup() {
    [[ -n "$server" ]] && kill "$server" 2>/dev/null
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/site" "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
cat >"$work/site/augury.html" <<'PAGE'
<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>Augury</title>
<style>
body { font-family: Georgia, serif; margin: 24px 32px; color: #222; }
h1 { font-size: 26px; border-bottom: 1px solid #bba; padding-bottom: 6px; }
p { font-size: 15px; line-height: 1.5; }
.kind { color: #775; font-style: italic; }
</style></head>
<body>
<h1>Augury</h1>
<p class="kind">noun</p>
<p>The reading of signs to learn the will of the gods or what is to come, above all from the
flight, calls and feeding of birds. In Rome the augur marked out a part of the sky with his
staff and watched which birds crossed it, from which side, and in what number.</p>
<p>By extension, any omen or portent, and the art of reading one.</p>
</body></html>
PAGE

# The page server, bounded in time, on a free port of the loopback address.
timeout 300 python3 -u -m http.server 0 --bind 127.0.0.1 --directory "$work/site" \
    >"$work/server.log" 2>&1 &
server=$!
port=""
for _ in $(seq 100); do
    port="$(sed -n 's/.*port \([0-9]\+\).*/\1/p' "$work/server.log" | head -1)"
    [[ -n "$port" ]] && break
    sleep 0.1
done
[[ -n "$port" ]] || { echo "screenshot-definition: the page server did not start" >&2; exit 1; }

# The photographing program sets the xcb platform and Qt WebEngine's settings itself.
HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/home/config" \
    xvfb-run -a -s "-screen 0 1024x768x24" \
    "$build/bin/program_on_display" definition Augury "http://127.0.0.1:$port/augury.html" "$out"
echo "screenshot: $out"
