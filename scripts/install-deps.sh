#!/usr/bin/env bash
# Installs the Debian 12 packages Augurlex needs that are missing; does nothing when all are
# present. Runs apt-get as root, or through sudo.
#   scripts/install-deps.sh          what building and running needs
#   scripts/install-deps.sh --test   also what the tests, sanitizer and fuzz builds need
set -euo pipefail

# librsvg2-bin draws the PNG sizes of the program's icon; libqt6svg6 lets Qt draw its SVG icons.
# libssl-dev: the engine decodes Office-encrypted files with its libcrypto; zlib1g-dev: it
# inflates the attachments kept in Access 2007 and later files.
packages=(cmake make g++ libgtest-dev libbenchmark-dev libssl-dev zlib1g-dev qt6-base-dev
    qt6-webengine-dev librsvg2-bin libqt6svg6)
if [[ "${1:-}" == "--test" ]]; then
    packages+=(mdbtools nodejs npm clang clang-format libclang-rt-14-dev xvfb xauth xdotool python3)
    # The Debian package's build (dpkg-shlibdeps) and its checks.
    packages+=(dpkg-dev xz-utils lintian desktop-file-utils appstream)
fi

missing=()
for package in "${packages[@]}"; do
    if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        continue
    fi
    # Node.js from other sources carries npm itself.
    if [[ "$package" == npm ]] && command -v npm >/dev/null; then
        continue
    fi
    missing+=("$package")
done

if ((${#missing[@]} == 0)); then
    echo "install-deps: everything is installed"
    exit 0
fi

echo "install-deps: installing ${missing[*]}"
as_root=()
if ((EUID != 0)); then
    as_root=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update
"${as_root[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
