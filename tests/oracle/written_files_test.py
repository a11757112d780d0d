#!/usr/bin/env python3
"""Files we write, read back by the independent readers (mdbtools' mdb-json and the npm
package mdb-reader) row for row and in order, and passed by `augurlex-dict check`:

- a new dictionary file holding thousands of random rows (zero-length strings, nulls, memos
  longer than 64 bytes and than 4 KB, non-ASCII text including characters outside the BMP);
- copies of Access-made files whose tables have no index, after their own rows were appended
  again: every old row must stay, the new ones follow.

Exit status 0 when all agree, 1 otherwise, 77 without test data."""

import argparse
import csv
import io
import json
import os
import random
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import compare_dumps  # noqa: E402  (shares the value comparison with the reader tests)

# Access-made files and their tables without indexes.
APPEND_TO = [
    ("jackcess__delTestV1997.mdb", "Table"),
    ("jackcess__delTestV2000.mdb", "Table"),
    ("jackcess__overflowTestV1997.mdb", "Table1"),
    ("jackcess__overflowTestV2003.mdb", "Table1"),
    ("rizky__biblio.mdb", "Authors"),
    ("jackcess__fixedNumericTestV2003.mdb", "test"),
]
PIECES = ["a", "Z", " ", ",", '"', "\r\n", "\n", "é", "ж", "天", "𝔘", "🜁", "\t", "ß"]


def random_text(rng, most):
    return "".join(rng.choice(PIECES) for _ in range(rng.randint(0, most)))


def random_rows(rng, count):
    """names, Key, Link values; None is null."""
    rows = []
    for _ in range(count):
        kind = rng.random()
        if kind < 0.05:
            link = None
        elif kind < 0.10:
            link = ""
        elif kind < 0.20:
            link = random_text(rng, 3000)  # often past 4 KB as UTF-16
        elif kind < 0.40:
            link = "https://en.wikipedia.org/wiki/" + random_text(rng, 60)
        else:
            link = random_text(rng, 30)
        key = rng.choice([None, "", random_text(rng, 100), random_text(rng, 12)])
        names = rng.choice([None, "", "runes", random_text(rng, 8)])
        rows.append([names, key, link])
    return rows


def csv_text(header, rows):
    out = io.StringIO()
    out.write(",".join(header) + "\r\n")
    for row in rows:
        fields = []
        for value in row:
            if value is None:
                fields.append("")
            else:
                fields.append('"' + value.replace('"', '""') + '"')
        out.write(",".join(fields) + "\r\n")
    return out.getvalue()


class Checker:
    def __init__(self, args, work):
        self.args = args
        self.work = work
        self.cmp = compare_dumps.Comparison()

    def tool(self, *words):
        return subprocess.run([self.args.tool, *words], capture_output=True)

    def ours(self, path, table):
        dump = self.tool("dump", path, "--table", table)
        if dump.returncode != 0:
            self.cmp.fail(path, f"dump exited {dump.returncode}: {dump.stderr.decode()}")
            return []
        return compare_dumps.load_jsonl(dump.stdout, path, self.cmp, "augurlex-dict")

    def against_readers(self, where, path, table, ours, jet3, old_rows=0):
        """Both readers must see our rows in our order. Among the first `old_rows` (rows of an
        Access-made file) a moved (overflow) row may stand elsewhere, as in the reader tests."""
        env = dict(os.environ, TZ="UTC")
        reader = subprocess.run(["node", self.args.reader_script, self.args.reader_modules, path],
                                capture_output=True, env=env)
        if reader.returncode != 0:
            self.cmp.fail(where, f"mdb-reader failed: {reader.stderr.decode()[-300:]}")
            return
        theirs = json.loads(reader.stdout)["tables"][table]
        mdbjson = compare_dumps.load_jsonl(
            subprocess.run(["mdb-json", "-T", compare_dumps.MDB_JSON_DATE, "-D",
                            compare_dumps.MDB_JSON_DATE, path, table],
                           capture_output=True).stdout, where, self.cmp, "mdb-json")
        for oracle, rows in (("mdb-reader", theirs["rows"]), ("mdb-json", mdbjson)):
            if len(rows) != len(ours):
                self.cmp.fail(where, f"{len(ours)} rows, {oracle} has {len(rows)}")
                continue
            if oracle == "mdb-json":
                ours = [self.as_mdbtools_prints(row) for row in ours]
            compare_dumps.compare_rows(self.cmp, where, theirs["columns"], ours[:old_rows],
                                       rows[:old_rows], oracle, jet3, True)
            for r, (mine, other) in enumerate(zip(ours, rows)):
                if r < old_rows:
                    continue
                compare_dumps.compare_row(self.cmp, f"{where} row {r + 1}", theirs["columns"],
                                          mine, other, oracle, jet3, True)

    def as_mdbtools_prints(self, row):
        """mdbtools 1.0 turns each half of a UTF-16 surrogate pair into '?', so a character
        outside the BMP reads as '??' there (mdb-reader keeps it)."""
        changed = {}
        for name, value in row.items():
            if isinstance(value, str) and any(ord(ch) > 0xFFFF for ch in value):
                value = "".join("??" if ord(ch) > 0xFFFF else ch for ch in value)
                self.cmp.quirk("mdbtools prints characters outside the BMP as ??")
            changed[name] = value
        return changed

    def check_passes(self, where, path):
        result = self.tool("check", path)
        if result.returncode != 0:
            self.cmp.fail(where, "check: " + result.stdout.decode() + result.stderr.decode())

    def new_dictionary(self):
        where = "new dictionary"
        path = os.path.join(self.work, "random.dll")
        rows = random_rows(random.Random(20240601), 3000)
        source = os.path.join(self.work, "random.csv")
        with open(source, "w", encoding="utf-8", newline="") as f:
            f.write(csv_text(["names", "Key", "Link"], rows))
        for words in (["create", path], ["import", path, "--csv", source]):
            result = self.tool(*words)
            if result.returncode != 0:
                self.cmp.fail(where, f"{words[0]}: {result.stderr.decode()}")
                return
        ours = self.ours(path, "data")
        expected = [dict(zip(["names", "Key", "Link"], row)) for row in rows]
        if ours != expected:
            first = next((i for i, (a, b) in enumerate(zip(ours, expected)) if a != b), None)
            self.cmp.fail(where, f"{len(ours)} rows read back, first difference at row "
                                 f"{first and first + 1}")
        self.against_readers(where, path, "data", ours, False)
        self.check_passes(where, path)

    def appended_copy(self, name, table):
        where = f"{name} / {table} (appended)"
        path = os.path.join(self.work, name)
        shutil.copy(os.path.join(self.args.testdata, name), path)
        jet3 = "V1997" in name or name.startswith("rizky")
        old = self.ours(path, table)
        dump = self.tool("dump", path, "--table", table, "--format", "csv")
        source = os.path.join(self.work, name + ".csv")
        with open(source, "wb") as f:
            f.write(dump.stdout)
        result = self.tool("import", path, "--table", table, "--csv", source)
        if result.returncode != 0:
            self.cmp.fail(where, f"import: {result.stderr.decode()}")
            return
        ours = self.ours(path, table)
        if ours != old + old:
            self.cmp.fail(where, f"we read {len(ours)} rows; expected the {len(old)} old rows, "
                                 "then the same again")
        self.against_readers(where, path, table, ours, jet3, old_rows=len(old))
        self.check_passes(where, path)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--tool", required=True)
    parser.add_argument("--testdata", required=True)
    parser.add_argument("--reader-modules", required=True)
    parser.add_argument("--reader-script", required=True)
    args = parser.parse_args()
    if not os.path.isdir(args.testdata):
        print(f"SKIP: no test data at {args.testdata}")
        return 77
    with tempfile.TemporaryDirectory(prefix="augurlex-written-") as work:
        checker = Checker(args, work)
        checker.new_dictionary()
        for name, table in APPEND_TO:
            checker.appended_copy(name, table)
    cmp = checker.cmp
    print(f"compared {cmp.values} values")
    for quirk, count in sorted(cmp.quirks.items()):
        print(f"accepted ({count}x): {quirk}")
    for failure in cmp.failures[:200]:
        print("DISAGREE", failure)
    return 1 if cmp.failures else 0


if __name__ == "__main__":
    sys.exit(main())
