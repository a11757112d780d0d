#!/usr/bin/env python3
"""Files we write, read back by the independent readers (mdbtools' mdb-json and the npm package
mdb-reader) row for row and in order, compared with the values we meant to write (never with
another file of ours), and passed by `augurlex-dict check`: new dictionary files (Jet 4, and
Access 2010 with indexes) of thousands of random rows (zero-length strings, nulls, memos past 64
bytes and 4 KB, text outside the BMP), literal values of every column type (write_literal_files)
in a new file and after the rows of Access-made files, and rows appended to Office-encrypted
files. Exit status 0 when all agree, 1 otherwise, 77 without test data."""

import json
import os
import random
import shutil
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from compare_dumps import (Comparison, arguments, compare_row, compare_rows,  # noqa: E402
                           load_jsonl, oracle_tables, run, READ_BY_JACKCESS)

PIECES = ["a", "Z", " ", ",", '"', "\r\n", "\n", "é", "ж", "天", "𝔘", "🜁", "\t", "ß"]


def random_rows(rng, count):
    """names, Key and Link of each row; None is null."""
    text = lambda most: "".join(rng.choice(PIECES) for _ in range(rng.randint(0, most)))
    return [{"names": rng.choice([None, "", "runes", text(8)]),
             "Key": rng.choice([None, "", text(100), text(12)]),
             "Link": rng.choice([None, "", text(3000), "https://a.org/" + text(60), text(30)])}
            for _ in range(count)]


def as_mdbtools_prints(cmp, row):
    """mdbtools 1.0 turns each half of a UTF-16 surrogate pair into '?', so a character outside
    the BMP reads as '??' there (mdb-reader keeps it)."""
    astral = lambda v: isinstance(v, str) and any(ord(c) > 0xFFFF for c in v)
    cmp.quirks["mdbtools prints characters outside the BMP as ??"] += sum(map(astral, row.values()))
    return {k: "".join("??" if ord(c) > 0xFFFF else c for c in v) if astral(v) else v
            for k, v in row.items()}


class Checker:
    def __init__(self, args, work):
        self.args, self.work, self.cmp = args, work, Comparison()

    def tool(self, where, *words):
        result = run([self.args.tool, *words])
        if result.returncode != 0:
            self.cmp.fail(where, f"{words[0]}: {result.stdout.decode()}{result.stderr.decode()}")
        return result.stdout

    def ours(self, where, path, table):
        return load_jsonl(self.tool(where, "dump", path, "--table", table), where, self.cmp, "us")

    def against_readers(self, where, path, table, expected, jet3, first_row=0, password=None):
        """From `first_row` on the readers' rows are the expected ones, in order; those before it
        (an Access-made file's) may stand in another order (moved rows)."""
        self.tool(where, "check", path, *(["--password", password] if password else []))
        for name, columns, oracles in oracle_tables(self.cmp, where, self.args, path,
                                                    password) or []:
            for oracle, rows, _ in oracles if name == table else []:
                wanted = [as_mdbtools_prints(self.cmp, row) if oracle == "mdb-json" else row
                          for row in expected]
                compare_rows(self.cmp, where, columns, wanted[:first_row], rows[:first_row],
                             oracle, jet3)
                if len(rows) != len(wanted):
                    self.cmp.fail(where, f"{len(wanted)} rows expected, {oracle} has {len(rows)}")
                for r in range(first_row, min(len(rows), len(wanted))):
                    compare_row(self.cmp, f"{where} row {r + 1}", columns, wanted[r], rows[r],
                                oracle, jet3)

    def new_dictionary(self):
        rows = random_rows(random.Random(20240601), 3000)
        quoted = lambda v: "" if v is None else '"' + v.replace('"', '""') + '"'
        csv = os.path.join(self.work, "random.csv")
        with open(csv, "w", encoding="utf-8", newline="") as f:
            f.write("names,Key,Link\r\n" + "".join(",".join(map(quoted, row.values())) + "\r\n"
                                                   for row in rows))
        # The Access 2010 file indexed, so the check compares every key with its row.
        for where, name, words in [("new dictionary", "random.dll", []),
                                   ("new Access 2010 dictionary", "random.accdb",
                                    ["--format", "accdb", "--index", "Key", "--index", "names,Key"])]:
            path = os.path.join(self.work, name)
            self.tool(where, "create", path, *words)
            self.tool(where, "import", path, "--csv", csv)
            self.against_readers(where, path, "data", rows, False)

    def literal_files(self):
        listing = run([self.args.literal_writer, self.work, self.args.testdata])
        if listing.returncode != 0:
            self.cmp.fail("literal files", listing.stderr.decode())
        for line in listing.stdout.decode().splitlines():
            spec = json.loads(line)
            path, table, name = spec["file"], spec["table"], os.path.basename(spec["file"])
            where = f"literals in {name}"
            # The rows an Access-made file held, as we read them from the file itself.
            original = os.path.join(self.args.testdata, name)
            old = self.ours(where, original, table) if os.path.exists(original) else []
            self.against_readers(where, path, table, old + spec["rows"], "1997" in name or "biblio" in name,
                                 len(old))

    def encrypted_appends(self):
        """Rows appended to a copy of each Office-encrypted file mdb-reader opens: new pages and
        index pages, coded with the file's key, among the ones Access coded."""
        with open(os.path.join(self.args.testdata, "FILES.tsv"), encoding="utf-8") as f:
            listed = [line.rstrip("\n").split("\t") for line in list(f)[1:]]
        for name, password in [(row[0], row[4]) for row in listed
                               if row[5].startswith("ACE") and row[4] != "-"]:
            if name in READ_BY_JACKCESS:
                continue
            where, path = f"rows appended to {name}", os.path.join(self.work, name)
            shutil.copyfile(os.path.join(self.args.testdata, name), path)
            words = ["--password", password]
            table = next(line.split("\t")[0].strip() for line in self.tool(
                where, "info", path, *words).decode().splitlines() if line.startswith("  "))
            old = load_jsonl(self.tool(where, "dump", path, "--table", table, *words), where,
                             self.cmp, "us")
            key, text = list(old[0])  # an AutoNumber key and a text column
            rows = [{key: len(old) + i + 1, text: f"appended {i} " + "é" * (i % 60)}
                    for i in range(2000)]
            with open(path + ".csv", "w", encoding="utf-8") as f:
                f.write(text + "\n" + "".join(row[text] + "\n" for row in rows))
            self.tool(where, "import", path, "--table", table, "--csv", path + ".csv", *words)
            self.against_readers(where, path, table, old + rows, False, len(old), password)


def main():
    args = arguments(__doc__)
    with tempfile.TemporaryDirectory(prefix="augurlex-written-") as work:
        checker = Checker(args, work)
        checker.new_dictionary()
        checker.literal_files()
        checker.encrypted_appends()
    return checker.cmp.report()


if __name__ == "__main__":
    sys.exit(main())
