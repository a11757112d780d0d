#!/usr/bin/env bash
# Formats every C++ file of the repository with clang-format (the project's .clang-format).
#   scripts/format.sh          rewrites the files in place
#   scripts/format.sh --check  changes nothing; lists the files that need formatting, exits 1
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
mapfile -t files < <(git ls-files -- '*.cpp' '*.h' '*.hpp' '*.cc')
if [[ "${1:-}" == "--check" ]]; then
    unformatted=()
    for file in "${files[@]}"; do
        if ! clang-format --dry-run --Werror "$file" >/dev/null 2>&1; then
            unformatted+=("$file")
        fi
    done
    if ((${#unformatted[@]} > 0)); then
        printf 'needs clang-format: %s\n' "${unformatted[@]}" >&2
        exit 1
    fi
    echo "format: ${#files[@]} files formatted"
else
    clang-format -i "${files[@]}"
fi
