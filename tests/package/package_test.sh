#!/usr/bin/env bash
# The Debian package as a user gets it: built with CPack, passed by lintian (no errors),
# unpacked into a root of its own, its desktop entry and metainfo valid; then the unpacked
# program started twice on a virtual screen with a fresh home folder. The dictionaries must be
# copied into the user's data folder on the first start, `augurlex-dict merge` must write
# there, the unpacked files must stay byte for byte as they were, and the second start must
# keep the merged rows.
#   tests/package/package_test.sh BUILD_DIR      (after the build of everything)
set -euo pipefail
build="$(realpath "$1")"
app_id=io.github.augurlex.Augurlex
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
started=$SECONDS

step() { echo "== package ($((SECONDS - started)) s): $*"; }
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

step "building the package"
cpack --config "$build/CPackConfig.cmake" -B "$work/cpack" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; fail "cpack could not build the package"; }
debs=("$work"/cpack/augurlex_*.deb)
deb="${debs[0]}"
[[ -f "$deb" ]] || fail "cpack made no augurlex_*.deb"
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"

step "lintian"
# Errors fail the test; warnings are shown.
lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports errors"

step "unpacking and validating"
root="$work/root"
dpkg-deb -x "$deb" "$root"
desktop-file-validate "$root/usr/share/applications/$app_id.desktop" ||
    fail "the desktop entry is not valid"
appstreamcli validate --no-net "$root/usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "the metainfo is not valid"
for size in 16 22 24 32 48 64 128 256; do
    [[ -s "$root/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png" ]] ||
        fail "no ${size}x${size} icon"
done
for file in usr/share/icons/hicolor/scalable/apps/$app_id.svg usr/share/man/man1/augurlex-dict.1.gz \
    usr/share/doc/augurlex/copyright usr/share/augurlex/divination.dll usr/share/augurlex/clone.dll; do
    [[ -s "$root/$file" ]] || fail "the package has no $file"
done
# One version everywhere: the package's, the manual pages', the metainfo's and (below) the window's.
version="$(dpkg-deb -f "$deb" Version)"
version="${version%-*}"
for page in augurlex augurlex-dict; do
    zcat "$root/usr/share/man/man1/$page.1.gz" | head -1 | grep -qF "\"Augurlex $version\"" ||
        fail "the manual page $page(1) does not give the version $version"
done
grep -qF "<release version=\"$version\"" "$root/usr/share/metainfo/$app_id.metainfo.xml" ||
    fail "the metainfo does not give the version $version"
installed_sums() { (cd "$root" && find . -type f -print0 | sort -z | xargs -0 sha256sum); }
installed_sums >"$work/installed-before"

step "first start with a fresh home folder"
export HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime"
unset XDG_DATA_HOME XDG_CONFIG_HOME
mkdir -p "$HOME" && mkdir -m 700 "$XDG_RUNTIME_DIR"
# Qt WebEngine on a virtual screen: software drawing, and as root only without its sandbox.
export QTWEBENGINE_CHROMIUM_FLAGS=--disable-gpu
if ((EUID == 0)); then
    export QTWEBENGINE_DISABLE_SANDBOX=1
fi
user="$HOME/.local/share/Augurlex"
dict="$root/usr/bin/augurlex-dict"

# Starts the unpacked program on the virtual X screen (xcb, whatever the environment says),
# waits for its window "Augurlex vVERSION" and ends it.
start_program() {
    local log="$work/program-$1.log"
    xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
        QT_QPA_PLATFORM=xcb "$1" >"$2" 2>&1 &
        program=$!
        timeout 90 xdotool search --sync --onlyvisible --name "^Augurlex v$3\$" >/dev/null
        shown=$?
        kill "$program" 2>/dev/null
        wait "$program" 2>/dev/null
        exit "$shown"' start "$root/usr/bin/augurlex" "$log" "$version" ||
        { cat "$log"; fail "start $1: the window Augurlex v$version did not show"; }
}

start_program 1
for installed in "$root"/usr/share/augurlex/*.dll; do
    cmp "$installed" "$user/$(basename "$installed")" ||
        fail "$(basename "$installed") was not copied whole into $user"
done

step "augurlex-dict merge into the user's folder"
cat >"$work/update.csv" <<'ROWS'
names,Key,Link
Omens,Package Test Omen,https://example.org/package-test-omen
Packaged,Fresh From The Package,https://example.org/fresh
ROWS
"$dict" create "$work/update.mdb"
"$dict" import "$work/update.mdb" --csv "$work/update.csv"
"$dict" merge "$work/update.mdb" | tee "$work/merge.txt"
grep -qx "Added: 2" "$work/merge.txt" || fail "the merge did not add both records"
cmp -s "$user/omens.dll" "$root/usr/share/augurlex/omens.dll" &&
    fail "the merge did not change the user's omens.dll"
[[ -f "$user/packaged.dll" ]] || fail "the merge made no packaged.dll in $user"
sha256sum "$user"/*.dll >"$work/user-after-merge"

step "second start keeps the merged rows"
start_program 2
sha256sum "$user"/*.dll | cmp - "$work/user-after-merge" ||
    fail "the second start changed the user's files"
[[ "$("$dict" lookup "Package Test Omen")" == https://example.org/package-test-omen ]] ||
    fail "the merged keyword is gone"
[[ "$("$dict" search "Fresh From" --dictionary Packaged)" == "Fresh From The Package" ]] ||
    fail "the merged dictionary is gone"
installed_sums | cmp - "$work/installed-before" || fail "the unpacked files changed"

step "passed"
