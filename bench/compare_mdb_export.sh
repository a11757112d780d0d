#!/usr/bin/env bash
# Times `augurlex-dict dump --format csv` against mdbtools' `mdb-export` on the same tables and
# prints the ratio. Measures only; never fails on speed.
#   bench/compare_mdb_export.sh [BUILD_DIR] [REPEATS]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$here/build}"
repeats="${2:-20}"
tool="$build/bin/augurlex-dict"
data="$here/tests/data"
[[ -x "$tool" ]] || { echo "no $tool: build first" >&2; exit 1; }
[[ -d "$data" ]] || { echo "no tests/data in the repository" >&2; exit 1; }
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
# A large table of our own: 100,000 generated keywords imported into a new dictionary file
# (LARGE_ROWS=1000000 for the million-row one).
rows="${LARGE_ROWS:-100000}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
python3 "$here/tools/gen/gen_dictionaries.py" --dictionaries 1 --keywords "$rows" --seed 7 \
    --out "$work/gen" >/dev/null
large="$work/large.dll"
"$tool" create "$large" >/dev/null
"$tool" import "$large" --csv "$(ls "$work"/gen/*.csv | grep -v dictionaries.csv | head -1)" \
    >/dev/null

# Short non-Latin texts (Hangul and Greek, none of it compressible to one byte a character):
# 43,000 generated rows, where decoding rather than copying is the work.
nonlatin="$work/nonlatin.dll"
python3 - "$work/nonlatin.csv" <<'PY'
import random, sys
rng = random.Random(11)
hangul = lambda n: "".join(chr(0xAC00 + rng.randrange(11172)) for _ in range(n))
greek = lambda n: "".join(chr(0x3B1 + rng.randrange(25)) for _ in range(n))
with open(sys.argv[1], "w", encoding="utf-8") as f:
    f.write("names,Key,Link\n")
    for i in range(43000):
        f.write(f"{hangul(3)},{hangul(rng.randrange(2, 9))} {greek(rng.randrange(3, 9))},"
                f"{hangul(rng.randrange(6, 16))} {rng.randrange(1, 999)}-{greek(4)}\n")
PY
"$tool" create "$nonlatin" >/dev/null
"$tool" import "$nonlatin" --csv "$work/nonlatin.csv" >/dev/null
echo "generated table of short Hangul and Greek texts, 43,000 rows, the commands alternating:"
python3 "$here/bench/alternate.py" "$repeats" "$tool" dump "$nonlatin" --table data --format csv \
    ";;" mdb-export "$nonlatin" data

# Test data by name, our own files by path.
where() { [[ "$1" == /* ]] && echo "$1" || echo "$data/$1"; }
ours() { "$tool" dump "$(where "$1")" --table "$2" --format csv >/dev/null; }
theirs() { mdb-export "$(where "$1")" "$2" >/dev/null; }

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
    # cat of the same file: the floor any reader of it stands on.
    hyperfine -N --warmup 1 --runs "$repeats" "$tool dump $large --table data --format csv" \
        "mdb-export $large data" "cat $large"
fi

# The large table's three commands side by side, alternating run by run.
echo "generated table, $rows rows, the commands alternating:"
python3 "$here/bench/alternate.py" "$repeats" "$tool" dump "$large" --table data --format csv \
    ";;" mdb-export "$large" data ";;" cat "$large"

# The same rows in an Access 2010 (.accdb) file; mdb-reader (from the oracle tests' npm folder)
# reads it whole, as JSON.
accdb="$work/large.accdb"
"$tool" create "$accdb" --format accdb >/dev/null
"$tool" import "$accdb" --csv "$(ls "$work"/gen/*.csv | grep -v dictionaries.csv | head -1)" \
    >/dev/null
echo ".accdb table, $rows rows, the commands alternating (mdb-reader where installed):"
reader=()
if [[ -d "$build/tests/oracle/npm/node_modules/mdb-reader" ]] && command -v node >/dev/null; then
    reader=(";;" node "$here/tests/oracle/read_with_mdb_reader.mjs" "$build/tests/oracle/npm"
            "$accdb")
fi
python3 "$here/bench/alternate.py" "$repeats" "$tool" dump "$accdb" --table data --format csv \
    ";;" mdb-export "$accdb" data "${reader[@]}" ";;" cat "$accdb"

# The same keywords appended to Access 2010 files Access made: a plain one and its two
# Office-encrypted twins (agile AES-256 and RC4 through the CryptoAPI, password "password"), whose
# pages are decoded one by one; mdb-export reads only the plain one.
python3 - "$(ls "$work"/gen/*.csv | grep -v dictionaries.csv | head -1)" "$work/data.csv" <<'PY'
import csv, sys
with open(sys.argv[1], encoding="utf-8") as f, open(sys.argv[2], "w", encoding="utf-8") as out:
    csv.writer(out).writerows([["Data"]] + [[row["Key"][:250]] for row in csv.DictReader(f)])
PY
for twin in creation-date_V2010 encryption_office-agile-4.4 encryption_office-agile-4.2; do
    cp "$data/mdbreader__$twin.accdb" "$work/$twin.accdb"
    chmod u+w "$work/$twin.accdb"
    "$tool" import "$work/$twin.accdb" --table Table1 --csv "$work/data.csv" \
        $([[ $twin == encryption* ]] && echo --password password) >/dev/null
done
for twin in creation-date_V2010 encryption_office-agile-4.4 encryption_office-agile-4.2; do
    file="$work/$twin.accdb" password=() export=() reader=()
    [[ $twin == encryption* ]] && password=(--password password)
    [[ $twin == creation* ]] && export=(";;" mdb-export "$file" Table1)
    if [[ -d "$build/tests/oracle/npm/node_modules/mdb-reader" ]] && command -v node >/dev/null
    then
        reader=(";;" node "$here/tests/oracle/read_with_mdb_reader.mjs" "$build/tests/oracle/npm"
                "$file" "${password[@]:1}")
    fi
    echo "$twin.accdb, $rows rows appended to Table1, the commands alternating:"
    python3 "$here/bench/alternate.py" "$repeats" "$tool" dump "$file" --table Table1 \
        --format csv "${password[@]}" "${export[@]}" "${reader[@]}" ";;" cat "$file"
done

# The large table alone, then every subject together.
large_ratio() {
    local start mid end
    ours "$large" data
    start=$(date +%s%N)
    for ((i = 0; i < repeats; i++)); do ours "$large" data; done
    mid=$(date +%s%N)
    for ((i = 0; i < repeats; i++)); do theirs "$large" data; done
    end=$(date +%s%N)
    awk -v ours=$((mid - start)) -v theirs=$((end - mid)) -v runs="$repeats" -v rows="$rows" \
        -v size="$(stat -c %s "$large")" 'BEGIN {
        printf "generated table, %d rows (%d bytes):\n", rows, size
        printf "  augurlex-dict dump --format csv: %8.2f ms\n", ours / runs / 1e6
        printf "  mdb-export:                      %8.2f ms\n", theirs / runs / 1e6
        printf "  ratio mdb-export / augurlex-dict: %.2f\n", theirs / ours
    }'
}
large_ratio

time_all ours >/dev/null # warm the page cache
ours_ns=$(time_all ours)
theirs_ns=$(time_all theirs)
runs=$((repeats * ${#subjects[@]}))
awk -v ours="$ours_ns" -v theirs="$theirs_ns" -v runs="$runs" 'BEGIN {
    printf "augurlex-dict dump --format csv: %8.2f ms per table\n", ours / runs / 1e6
    printf "mdb-export:                      %8.2f ms per table\n", theirs / runs / 1e6
    printf "ratio mdb-export / augurlex-dict: %.2f (above 1: we are faster)\n", theirs / ours
}'
