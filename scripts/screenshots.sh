#!/usr/bin/env bash
# Photographs the program on a virtual screen for the README, over a copy of the bundled
# dictionaries: the main window with its start page in a light and a dark scheme, each at 100%
# and 200% scale, the start page alone, the search page (light and dark) and the page for a term
# with no definition page; the closing message of File > Update with its details; the
# definition page (screenshot-definition.sh); then the View menu's options: the list following the
# typing, suggestions for a misspelt term, the menu open on its history.
#   scripts/screenshots.sh [out folder]   (default docs/; BUILD_DIR overrides the build folder)
# The photographing program (tests/app/program_on_display.cpp) sets the xcb platform and Qt
# WebEngine's settings itself, and draws the dark scheme as the Fusion style in a dark palette:
# a virtual screen has no desktop scheme to follow.
set -euo pipefail
repo="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${BUILD_DIR:-$repo/build}"
out="$(realpath -m "${1:-$repo/docs}")"

cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target program_on_display dictionaries augurlex-dict

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/dictionaries" "$work/home" "$work/runtime" "$out"
chmod 700 "$work/runtime"
# The bundled files by their list (the catalogue, the template and the dictionaries the catalogue
# names), never whatever else earlier builds left in the folder.
cp "$build/bin/divination.dll" "$build/bin/clone.dll" "$work/dictionaries/"
"$build/bin/augurlex-dict" dump "$build/bin/divination.dll" --table data --format csv |
    tail -n +2 | tr -d '\r' | while IFS=, read -r _ database; do
    cp "$build/bin/$database" "$work/dictionaries/"
done

photograph() { # scheme scale window.png pane.png [WxH]
    HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/home/config" \
        QT_SCALE_FACTOR="$2" xvfb-run -a -s "-screen 0 2000x1400x24" \
        "$build/bin/program_on_display" start-page "$work/dictionaries" "$1" "$3" "$4" "${5:-900x600}"
    echo "screenshot: $3"
}

photograph light 1 "$out/main-window.png" "$work/pane.png"
photograph light 1 "$work/window.png" "$out/start-page.png" 900x1330
photograph dark 1 "$out/main-window-dark.png" "$work/pane.png"
photograph light 2 "$out/main-window-200.png" "$work/pane.png"
photograph dark 2 "$out/main-window-dark-200.png" "$work/pane.png"
own_page() { # scheme pane.png search|TERM
    HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/home/config" \
        xvfb-run -a -s "-screen 0 2000x1400x24" \
        "$build/bin/program_on_display" own-page "$work/dictionaries" "$1" "$2" "$3"
    echo "screenshot: $2"
}

own_page light "$out/search-page.png" search
own_page dark "$out/search-page-dark.png" search
own_page light "$out/term-page.png" star

# File > Update with an update file that brings new keywords, keywords already there, a new
# dictionary and a record whose dictionary name cannot be a file name: the counts, and the failed
# record with its reason in the details.
cat >"$work/update.csv" <<'ROWS'
names,Key,Link
Tarot,The Fool,https://en.wikipedia.org/wiki/The_Fool_(tarot_card)
tarot,The Magician,https://en.wikipedia.org/wiki/The_Magician_(tarot_card)
Runes,Fehu,https://en.wikipedia.org/wiki/Fehu
TAROT,Ace of Cups,https://en.wikipedia.org/wiki/Ace_of_Cups
Tarot,Two of Cups,https://en.wikipedia.org/wiki/Two_of_Cups
tasseography,Tea leaves,https://en.wikipedia.org/wiki/Tasseography
tasseography,Coffee grounds,https://en.wikipedia.org/wiki/Coffee_reading
../tarot,The Tower,https://en.wikipedia.org/wiki/The_Tower_(tarot_card)
ROWS
"$build/bin/augurlex-dict" create "$work/update.dll" >/dev/null
"$build/bin/augurlex-dict" import "$work/update.dll" --csv "$work/update.csv" >/dev/null
HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/home/config" \
    xvfb-run -a -s "-screen 0 2000x1400x24" \
    "$build/bin/program_on_display" update-report "$work/dictionaries" "$work/update.dll" \
    "$out/update-report.png"
echo "screenshot: $out/update-report.png"

BUILD_DIR="$build" "$repo/scripts/screenshot-definition.sh" "$out/definition.png"

# The View menu's options: the list following the typing, suggestions for a misspelt term, and
# the menu open on its history.
view() { # TERM|menu out.png
    HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" XDG_CONFIG_HOME="$work/home/config" \
        xvfb-run -a -s "-screen 0 2000x1400x24" \
        "$build/bin/program_on_display" view "$work/dictionaries" "$1" "$2"
    echo "screenshot: $2"
}
view ta "$out/search-as-you-type.png"
view Tarrot "$out/suggestions.png"
view menu "$out/view-menu.png"
