#!/usr/bin/env python3
"""Validate the shipped dictionary CSVs in this folder.

Checks every file listed in dictionaries.csv (and every *.csv lying here):
header exactly Key,Link; no empty keys; https links only; no key twice in a
file (ignoring case) unless allowed below; catalogue and files agree.
Exits 1 on any error and prints totals.
"""
import csv
import sys
from pathlib import Path

HERE = Path(__file__).resolve().parent
CATALOGUE = "dictionaries.csv"
# (file name, key in lower case) pairs that may repeat on purpose.
ALLOWED_DUPLICATE_KEYS: set[tuple[str, str]] = set()


def read_rows(path: Path) -> list[list[str]]:
    # utf-8 (not utf-8-sig): a byte-order mark would end up in the first header name.
    with path.open(encoding="utf-8", newline="") as f:
        return list(csv.reader(f, strict=True))


def check_dictionary(path: Path, errors: list[str]) -> int:
    rows = read_rows(path)
    if not rows or rows[0] != ["Key", "Link"]:
        errors.append(f"{path.name}: header must be exactly Key,Link, found {rows[:1]}")
        return 0
    seen_keys: dict[str, int] = {}
    seen_links: dict[str, int] = {}
    for line, row in enumerate(rows[1:], start=2):
        where = f"{path.name}:{line}"
        if len(row) != 2:
            errors.append(f"{where}: expected 2 fields, found {len(row)}")
            continue
        key, link = row
        if not key.strip():
            errors.append(f"{where}: empty key")
        elif key != key.strip():
            errors.append(f"{where}: key {key!r} has spaces at its ends")
        if not link.startswith("https://") or any(c.isspace() for c in link):
            errors.append(f"{where}: link must be https with no spaces: {link!r}")
        elif not link.isascii():
            errors.append(f"{where}: link must be percent-encoded ASCII: {link!r}")
        folded = key.strip().casefold()
        if folded in seen_keys and (path.name, folded) not in ALLOWED_DUPLICATE_KEYS:
            errors.append(f"{where}: key {key!r} already on line {seen_keys[folded]}")
        seen_keys.setdefault(folded, line)
        if link in seen_links:
            errors.append(f"{where}: link already used on line {seen_links[link]}")
        seen_links.setdefault(link, line)
    return len(rows) - 1


def main() -> int:
    errors: list[str] = []
    catalogue = read_rows(HERE / CATALOGUE)
    if not catalogue or catalogue[0] != ["names"]:
        errors.append(f"{CATALOGUE}: header must be exactly names")
    names = [row[0] for row in catalogue[1:] if row]
    for name in names:
        if not name or name != name.strip() or not name[0].isupper():
            errors.append(f"{CATALOGUE}: name {name!r} must start with a capital, no spaces at the ends")
        # The catalogue and the template share the dictionaries' folder and naming.
        if name.lower() in ("divination", "clone"):
            errors.append(f"{CATALOGUE}: {name!r} would be stored as {name.lower()}.dll, "
                          "a file the program keeps for itself")
    if len({n.casefold() for n in names}) != len(names):
        errors.append(f"{CATALOGUE}: a name is listed twice")
    expected = {n.lower() + ".csv" for n in names}
    present = {p.name for p in HERE.glob("*.csv")} - {CATALOGUE}
    for missing in sorted(expected - present):
        errors.append(f"{CATALOGUE}: no file {missing} for a listed dictionary")
    for stray in sorted(present - expected):
        errors.append(f"{stray}: not listed in {CATALOGUE}")

    total = 0
    for name in names:
        path = HERE / (name.lower() + ".csv")
        if path.exists():
            count = check_dictionary(path, errors)
            total += count
            print(f"{name:<12} {count:5d} keywords")
    print(f"{'total':<12} {total:5d} keywords in {len(names)} dictionaries")
    for error in errors:
        print("error:", error, file=sys.stderr)
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
