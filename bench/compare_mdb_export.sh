#!/usr/bin/env bash
# Times `augurlex-dict dump --format csv` against mdbtools' `mdb-export` on the same tables and
# prints the ratio. Measures only; never fails on speed.
#   bench/compare_mdb_export.sh [BUILD_DIR] [REPEATS]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build}"
repeats="${2:-20}"
tool="$build/bin/augurlex-dict"
data="$(cd "$here/../shared/testdata" 2>/dev/null && pwd || true)"
[[ -x "$tool" ]] || { echo "no $tool: build first" >&2; exit 1; }
[[ -d "$data" ]] || { echo "no test data next to the repository" >&2; exit 1; }
command -v mdb-export >/dev/null || { echo "mdb-export not installed" >&2; exit 1; }

# file<TAB>table: the largest tables of the test data.
subjects=(
    $'jackcess__compIndexTestV1997.mdb\tTable1'
    $'jackcess__compIndexTestV2000.mdb\tTable1'
    $'jackcess__testIndexCodesV1997.mdb\tTable1'
    $'jackcess__testIndexCodesV1997.mdb\tTable14'
    $'jackcess__test2V2003.mdb\tMSP_PROJECTS'
    $'jackcess__testV2000.mdb\tTable1'
)

ours() { "$tool" dump "$data/$1" --table "$2" --format csv >/dev/null; }
theirs() { mdb-export "$data/$1" "$2" >/dev/null; }

# Nanoseconds for `repeats` runs of a command over every subject.
time_all() {
    local start end subject
    start=$(date +%s%N)
    for ((i = 0; i < repeats; i++)); do
        for subject in "${subjects[@]}"; do
            "$1" "${subject%%$'\t'*}" "${subject#*$'\t'}"
        done
    done
    end=$(date +%s%N)
    echo $((end - start))
}

if command -v hyperfine >/dev/null; then
    for subject in "${subjects[@]}"; do
        file="${subject%%$'\t'*}" table="${subject#*$'\t'}"
        hyperfine -N --warmup 3 --runs "$repeats" \
            "$tool dump $data/$file --table $table --format csv" \
            "mdb-export $data/$file $table"
    done
fi

time_all ours >/dev/null # warm the page cache
ours_ns=$(time_all ours)
theirs_ns=$(time_all theirs)
runs=$((repeats * ${#subjects[@]}))
awk -v ours="$ours_ns" -v theirs="$theirs_ns" -v runs="$runs" 'BEGIN {
    printf "augurlex-dict dump --format csv: %8.2f ms per table\n", ours / runs / 1e6
    printf "mdb-export:                      %8.2f ms per table\n", theirs / runs / 1e6
    printf "ratio mdb-export / augurlex-dict: %.2f (above 1: we are faster)\n", theirs / ours
}'
