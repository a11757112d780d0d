#!/usr/bin/env python3
"""Compares `augurlex-dict dump` with two independent readers, mdbtools' mdb-json and the npm
package mdb-reader, for every table of every file in the test-data folder.

Only differences of form are normalised (number and date spelling, binary encodings); the
readers' documented faults are accepted where they apply and counted in the summary.
Exit status 0 when every value agrees, 1 otherwise (each disagreement is listed), 77 when
there is no test data."""

import argparse
import base64
import collections
import datetime
import decimal
import json
import math
import os
import subprocess
import sys

MDB_JSON_DATE = "%Y-%m-%dT%H:%M:%S"
# Jet 3 files whose text is in another code page than their header says (Access used the
# creating machine's); the readers decode it as Windows-1252, so the expected values are
# asserted instead: file -> (code page, {(table, row, column): text}).
NON_WESTERN_JET3 = {
    "ucanaccess__charsetGBK.mdb": (936, {("table1", 0, 1): "GBK编码"}),
}


def run(command, env=None):
    return subprocess.run(command, capture_output=True, env=env)


def read_passwords(testdata):
    passwords = {}
    listing = os.path.join(testdata, "FILES.tsv")
    if os.path.exists(listing):
        with open(listing, encoding="utf-8") as f:
            header = f.readline().rstrip("\n").split("\t")
            for line in f:
                fields = dict(zip(header, line.rstrip("\n").split("\t")))
                if fields.get("password", "-") != "-":
                    passwords[fields["file"]] = fields["password"]
    return passwords


def parse_info_tables(text):
    tables = []
    for line in text.splitlines():
        if line.startswith("  ") and "\t" in line:
            name, rows = line[2:].rsplit("\t", 1)
            tables.append((name, int(rows.split()[0])))
    return tables


class Comparison:
    def __init__(self):
        self.failures = []
        self.quirks = collections.Counter()
        self.quirk_places = []
        self.values = 0

    def fail(self, where, message):
        self.failures.append(f"{where}: {message}")

    def quirk(self, name, where=""):
        self.quirks[name] += 1
        if where:
            self.quirk_places.append(f"{where}: {name}")


def to_datetime(text):
    if text is None:
        return None
    text = text.rstrip("Z")
    for form in ("%Y-%m-%dT%H:%M:%S.%f", MDB_JSON_DATE):
        try:
            return datetime.datetime.strptime(text, form)
        except ValueError:
            pass
    return text  # unparseable: compared as text


DATE_ZERO = datetime.datetime(1899, 12, 30)


def keep_time_of_day(linear):
    """A date before day zero read as a plain count of days (time running backwards), turned
    into Jet's form, where the whole days count back and the time of day is kept."""
    days = (linear - DATE_ZERO) / datetime.timedelta(days=1)
    whole = math.trunc(days)
    return DATE_ZERO + datetime.timedelta(days=whole + abs(days - whole))


# The five bytes Windows-1252 leaves undefined; Windows maps each to the C1 control of the same
# number, the readers to U+FFFD (mdb-reader) or '?' (mdbtools).
CP1252_UNDEFINED = {"\x81", "\x8d", "\x8f", "\x90", "\x9d"}


def undefined_cp1252_replaced(ours, theirs):
    return len(ours) == len(theirs) and all(
        a == b or ((a in CP1252_UNDEFINED or a == "\ufffd") and b in ("\ufffd", "?"))
        for a, b in zip(ours, theirs))


def hex_of_guid(text):
    return "".join(ch for ch in text.upper() if ch in "0123456789ABCDEF")


def same_float(a, b, single):
    if isinstance(a, str) or isinstance(b, str):  # NaN / Infinity spelled as text
        return str(a).lower().lstrip("+") == str(b).lower().lstrip("+")
    if single:
        return math.isclose(float(a), float(b), rel_tol=1e-7, abs_tol=1e-37)
    return math.isclose(float(a), float(b), rel_tol=1e-12, abs_tol=1e-300)


def compare_value(cmp, where, kind, ours, theirs, oracle, jet3):
    """Compares one field; `theirs` is the oracle's raw JSON value (None for null or absent)."""
    cmp.values += 1
    if ours is None and theirs is None:
        return
    if oracle == "mdb-json" and ours == "" and theirs is None and kind in ("text", "memo"):
        cmp.quirk("mdbtools prints zero-length strings as NULL", where)
        return
    if ours is None or theirs is None:
        cmp.fail(where, f"ours {ours!r}, {oracle} {theirs!r}")
        return
    same = False
    if kind in ("text", "memo"):
        same = ours == theirs
        if not same and jet3 and undefined_cp1252_replaced(ours, theirs):
            cmp.quirk(f"{oracle} replaces the 5 bytes Windows-1252 leaves undefined", where)
            return
    elif kind == "boolean":
        same = ours is bool(theirs) and isinstance(ours, bool)
    elif kind in ("byte", "integer", "long", "bigint"):
        same = isinstance(ours, int) and not isinstance(ours, bool) and ours == int(theirs)
    elif kind in ("float", "double"):
        same = same_float(ours, theirs, kind == "float")
    elif kind in ("currency", "numeric"):
        same = isinstance(ours, str) and decimal.Decimal(ours) == decimal.Decimal(str(theirs))
    elif kind == "datetime":
        mine = to_datetime(ours)
        other = to_datetime(theirs["date"] if isinstance(theirs, dict) else theirs)
        if oracle == "mdb-json" and str(theirs).startswith("1900-01-00") and (
            isinstance(mine, datetime.datetime) and (mine.year < 1900 or mine.year == 9999)
        ):
            cmp.quirk("mdbtools prints dates before 1900 or in 9999 as 1900-01-00", where)
            return
        if isinstance(mine, datetime.datetime) and isinstance(other, datetime.datetime):
            # Sub-second parts are rounded differently by each reader.
            same = abs((mine - other).total_seconds()) <= 1
            if not same and oracle == "mdb-reader" and other < DATE_ZERO:
                same = abs((mine - keep_time_of_day(other)).total_seconds()) <= 1
                if same:
                    cmp.quirk("mdb-reader counts the time backwards in dates before 1899-12-30", where)
                    return
        else:
            same = mine == other
    elif kind == "repid":
        if isinstance(theirs, dict):  # mdb-json: the GUID's text, base64-encoded
            theirs = base64.b64decode(theirs["$binary"]).decode("ascii", "replace")
        same = isinstance(ours, str) and hex_of_guid(ours) == hex_of_guid(theirs)
    elif kind in ("ole", "binary"):
        if isinstance(theirs, dict):
            theirs = theirs.get("base64", theirs.get("$binary"))
        same = base64.b64decode(ours) == base64.b64decode(theirs)
    else:
        same = str(ours) == str(theirs)
    if not same:
        cmp.fail(where, f"{kind}: ours {ours!r}, {oracle} {theirs!r}")


def compare_row(cmp, where, columns, mine, other, oracle, jet3, text_follows_oracles):
    names = [c["name"] for c in columns]
    if list(mine.keys()) != names:
        cmp.fail(where, f"columns {list(mine.keys())}, expected {names}")
        return
    for c, column in enumerate(columns):
        value = mine[column["name"]]
        cell = f"{where} column {column['name']}"
        if column["type"] in ("text", "memo") and not text_follows_oracles:
            cmp.quirk("oracles decode Jet 3 text as Windows-1252 (asserted instead)")
            continue
        other_value = other[c] if oracle == "mdb-reader" else other.get(column["name"])
        compare_value(cmp, cell, column["type"], value, other_value, oracle, jet3)


def compare_rows(cmp, where, columns, ours, rows, oracle, jet3, text_follows_oracles):
    """Row by row; when that fails, looks for the same rows in another order: we list a row
    moved to another page (an overflow row) at its original place, the readers where it is
    stored now."""
    in_order = Comparison()
    for r, (mine, other) in enumerate(zip(ours, rows)):
        compare_row(in_order, f"{where} row {r + 1}", columns, mine, other, oracle, jet3,
                    text_follows_oracles)
    if in_order.failures:
        unmatched = list(range(len(rows)))
        for mine in ours:
            for j in unmatched:
                trial = Comparison()
                compare_row(trial, where, columns, mine, rows[j], oracle, jet3,
                            text_follows_oracles)
                if not trial.failures:
                    unmatched.remove(j)
                    break
        if not unmatched:
            in_order.failures = []
            in_order.quirk(f"{oracle} lists moved (overflow) rows where they are stored now", where)
    cmp.failures += in_order.failures
    cmp.quirks.update(in_order.quirks)
    cmp.quirk_places += in_order.quirk_places
    cmp.values += in_order.values


def load_jsonl(data, where, cmp, who):
    rows = []
    for number, line in enumerate(line for line in data.split(b"\n") if line):
        try:
            rows.append(json.loads(line, object_pairs_hook=collections.OrderedDict))
        except ValueError as error:
            cmp.fail(f"{where} line {number + 1}", f"{who} printed invalid JSON: {error}")
    return rows


def compare_file(cmp, args, name, passwords):
    path = os.path.join(args.testdata, name)
    password = passwords.get(name)
    code_page, expected_text = NON_WESTERN_JET3.get(name, (0, {}))
    pw = ["--password", password] if password else []
    if code_page:
        pw += ["--code-page", str(code_page)]
    info = run([args.tool, "info", path] + pw)
    if info.returncode != 0:
        cmp.fail(name, f"info exited {info.returncode}: {info.stderr.decode(errors='replace')}")
        return
    info_text = info.stdout.decode()
    tables = parse_info_tables(info_text)
    code_page = next(
        (int(l.split(":")[1]) for l in info_text.splitlines() if l.startswith("Code page:")),
        1252,
    )
    text_follows_oracles = code_page == 1252 and name not in NON_WESTERN_JET3
    jet3 = "Jet 3" in info_text

    env = dict(os.environ, TZ="UTC")
    reader = run(["node", args.reader_script, args.reader_modules, path], env)
    if reader.returncode != 0:
        cmp.fail(name, f"mdb-reader failed: {reader.stderr.decode(errors='replace')[-300:]}")
        return
    reader_tables = json.loads(reader.stdout)["tables"]
    listed = run(["mdb-tables", "-1", path]).stdout.decode().splitlines()

    our_names = [t for t, _ in tables]
    if sorted(our_names) != sorted(reader_tables):
        cmp.fail(name, f"tables: ours {our_names}, mdb-reader {sorted(reader_tables)}")
    if sorted(our_names) != sorted(listed):
        cmp.fail(name, f"tables: ours {our_names}, mdb-tables {sorted(listed)}")

    for (table, row, column), want in expected_text.items():
        dump = run([args.tool, "dump", path, "--table", table] + pw)
        rows = [json.loads(line) for line in dump.stdout.split(b"\n") if line]
        value = list(rows[row].values())[column] if row < len(rows) else None
        if value != want:
            cmp.fail(f"{name} / {table} row {row + 1} column {column + 1}",
                     f"ours {value!r}, expected {want!r} (text in the file's code page)")
    for table, info_rows in tables:
        where = f"{name} / {table}"
        dump = run([args.tool, "dump", path, "--table", table, "--format", "jsonl"] + pw)
        if dump.returncode != 0:
            cmp.fail(where, f"dump exited {dump.returncode}: {dump.stderr.decode(errors='replace')}")
            continue
        ours = load_jsonl(dump.stdout, where, cmp, "augurlex-dict")
        if len(ours) != info_rows:
            cmp.fail(where, f"info says {info_rows} rows, dump wrote {len(ours)}")
        mdbjson = load_jsonl(
            run(["mdb-json", "-T", MDB_JSON_DATE, "-D", MDB_JSON_DATE, path, table]).stdout,
            where, cmp, "mdb-json")
        theirs = reader_tables.get(table)
        if theirs is None:
            continue
        columns = theirs["columns"]
        names = [c["name"] for c in columns]
        for oracle, rows in (("mdb-reader", theirs["rows"]), ("mdb-json", mdbjson)):
            if len(rows) != len(ours):
                cmp.fail(where, f"{len(ours)} rows, {oracle} has {len(rows)}")
                continue
            compare_rows(cmp, where, columns, ours, rows, oracle, jet3, text_follows_oracles)
    if not tables and reader_tables:
        cmp.fail(name, "we list no tables, mdb-reader does")


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--tool", required=True)
    parser.add_argument("--testdata", required=True)
    parser.add_argument("--reader-modules", required=True, help="folder holding node_modules")
    parser.add_argument("--reader-script", required=True)
    parser.add_argument("--verbose", action="store_true", help="list where each fault was met")
    args = parser.parse_args()
    if not os.path.isdir(args.testdata):
        print(f"SKIP: no test data at {args.testdata}")
        return 77
    passwords = read_passwords(args.testdata)
    cmp = Comparison()
    files = sorted(f for f in os.listdir(args.testdata) if f.lower().endswith(".mdb"))
    for name in files:
        compare_file(cmp, args, name, passwords)
    print(f"compared {cmp.values} values in {len(files)} files")
    for quirk, count in sorted(cmp.quirks.items()):
        print(f"accepted ({count}x): {quirk}")
    if args.verbose:
        for place in cmp.quirk_places:
            print("accepted at", place)
    for failure in cmp.failures:
        print("DISAGREE", failure)
    return 1 if cmp.failures else 0


if __name__ == "__main__":
    sys.exit(main())
