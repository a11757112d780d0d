#!/usr/bin/env python3
"""Compares `augurlex-dict dump` with two independent readers, mdbtools' mdb-json and the npm
package mdb-reader, for every table of every file in the test-data folder (Jet 3 text in the code
page its file names, as the readers read it); `.accdb` files with mdb-reader alone, which reads
them whole where mdbtools leaves types out. Where mdb-reader cannot read a column of them, or
gives a calculated column's stored bytes undecoded, the values below stand in its place: those
of Jackcess 4, checked by hand, and the calculated columns' expressions over their rows. Only differences of form are normalised (number and
date spelling, binary encodings); the readers' known faults are accepted where they apply and
counted. Exit status 0 when every value agrees, 1 otherwise (each disagreement is listed, and a
missing test-data folder is one)."""

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
DAY_ZERO = datetime.datetime(1899, 12, 30)
# The five bytes Windows-1252 leaves undefined; Windows maps each to the C1 control of the same
# number, the readers to U+FFFD (mdb-reader) or '?' (mdbtools).
CP1252_UNDEFINED = {"\x81", "\x8d", "\x8f", "\x90", "\x9d", "\ufffd"}


# Columns mdb-reader cannot read or decode: their values, row by row, as Jackcess reads them.
JACKCESS_VALUES = {
    ("ucanaccess__alterTable.accdb", "Tabella1", "eee"):  # calculated; stale where blank
        ["g", "", "", "", "eee1", "CC1", "CFFFFC(((1", "", "", "", "", "", ""],
    ("jackcess__unsupportedFieldsTestV2007.accdb", "Test", "ID"): [1, 2, 3],
    ("jackcess__unsupportedFieldsTestV2007.accdb", "Test", "UnknownVar"):
        ["//5zb21lZGF0YQ==", "//5vdGhlciBkYXRh", None],
    ("jackcess__unsupportedFieldsTestV2007.accdb", "Test", "UnknownFix"):
        ["NwAAAA==", "8////w==", "AgAAAA=="],
    ("jackcess__unsupportedFieldsTestV2007.accdb", "Test", "UnknownComplex"): [1, 2, 3],
    ("jackcess__complexDataTestV2007.accdb", "Table1", "multi-value-data"):
        [[], ["value1", "value4"], ["value1", "value2", "value3", "value4"], []],
    ("jackcess__complexDataTestV2007.accdb", "Table1",
     "VersionHistory_F5F8918F-0A3F-4DA9-AE71-184EE5012880"):
        [[], [{"text": "row2-memo", "saved": "2011-09-12T21:21:02"}],
         [{"text": "row3-memo", "saved": "2011-09-12T21:21:19"},
          {"text": "row3-memo-revised", "saved": "2011-09-12T21:22:33"},
          {"text": "row3-memo-again", "saved": "2011-09-12T21:22:45"}],
         [{"text": "row4-memo", "saved": "2011-09-12T21:22:26"}]],
}

# Calculated columns, which neither reader decodes: the value expected from the row's fields.
CALCULATED = {
    ("ucanaccess__calculatedField.accdb", "products", "%markup"):
        lambda row: (float(row["retail"]) / float(row["wholesale"]) - 1) * 100,
    ("jackcess__extDateTestV2019.accdb", "Table1", "DateNormalCalc"): lambda row: row["DateNormal"],
}


def run(command):  # dates in UTC
    return subprocess.run(command, capture_output=True, env=dict(os.environ, TZ="UTC"))


class Comparison:
    def __init__(self):
        self.failures, self.quirks, self.values = [], collections.Counter(), 0

    def fail(self, where, message):
        self.failures.append(f"{where}: {message}")

    def merge(self, other):
        self.failures += other.failures
        self.quirks.update(other.quirks)
        self.values += other.values

    def report(self):
        print(f"compared {self.values} values")
        for quirk, count in sorted(self.quirks.items()):
            print(f"accepted ({count}x): {quirk}")
        for failure in self.failures[:200]:
            print("DISAGREE", failure)
        return 1 if self.failures else 0


def to_datetime(text):
    try:
        return datetime.datetime.fromisoformat(str(text).rstrip("Z"))
    except ValueError:
        return text  # unparseable: compared as text


def same_value(cmp, kind, ours, theirs, oracle, jet3):
    if kind in ("text", "memo"):
        if ours != theirs and jet3 and len(ours) == len(theirs) and all(
                a == b or (a in CP1252_UNDEFINED and b in "\ufffd?") for a, b in zip(ours, theirs)):
            cmp.quirks[f"{oracle} replaces the 5 bytes Windows-1252 leaves undefined"] += 1
            return True
        return ours == theirs
    if kind == "boolean":
        return isinstance(ours, bool) and ours is bool(theirs)
    if kind in ("byte", "integer", "long", "bigint"):
        return isinstance(ours, int) and not isinstance(ours, bool) and ours == int(theirs)
    if kind in ("float", "double"):
        if isinstance(ours, str) or isinstance(theirs, str):  # NaN, Infinity spelled as text
            return str(ours).lower().lstrip("+") == str(theirs).lower().lstrip("+")
        tolerance = (1e-7, 1e-37) if kind == "float" else (1e-12, 1e-300)
        return math.isclose(float(ours), float(theirs), rel_tol=tolerance[0],
                            abs_tol=tolerance[1])
    if kind in ("currency", "numeric"):
        return isinstance(ours, str) and decimal.Decimal(ours) == decimal.Decimal(str(theirs))
    if kind == "stand-in":
        if isinstance(theirs, float):
            return isinstance(ours, (int, float)) and math.isclose(ours, theirs, rel_tol=1e-15)
        return ours == theirs
    if kind == "datetimextended":  # theirs "YYYY.MM.DD hh:mm:ss" and nine digits of fraction
        return str(theirs).replace(".", "-", 2).replace(" ", "T") == ours + "00"
    if kind == "complex":  # attachments: name, type and bytes
        return isinstance(ours, list) and len(ours) == len(theirs) and all(
            (a["name"], a["type"], base64.b64decode(a["data"])) ==
            (b["name"], b["type"], base64.b64decode(b["data"]["base64"]))
            for a, b in zip(ours, theirs))
    if kind == "datetime":
        mine, other = to_datetime(ours), to_datetime(theirs.get("date") if isinstance(
            theirs, dict) else theirs)
        if not isinstance(mine, datetime.datetime) or not isinstance(other, datetime.datetime):
            return mine == other
        if oracle == "mdb-reader" and other < DAY_ZERO:
            # It counts the time backwards before day zero, where Jet counts whole days back and
            # the time of day forward.
            days = (other - DAY_ZERO) / datetime.timedelta(days=1)
            whole = math.trunc(days)
            kept = DAY_ZERO + datetime.timedelta(days=whole + abs(days - whole))
            if abs((mine - kept).total_seconds()) <= 1 < abs((mine - other).total_seconds()):
                cmp.quirks["mdb-reader counts the time backwards in dates before 1899-12-30"] += 1
                return True
        return abs((mine - other).total_seconds()) <= 1  # sub-seconds are rounded differently
    if kind == "repid":  # mdb-json gives the GUID's text base64-encoded
        theirs = base64.b64decode(theirs["$binary"]).decode() if "$binary" in theirs else theirs
        return "".join(filter(str.isalnum, ours.upper())) == "".join(
            filter(str.isalnum, theirs.upper()))
    if kind in ("ole", "binary"):
        theirs = theirs.get("base64", theirs.get("$binary")) if isinstance(theirs, dict) else theirs
        return base64.b64decode(ours) == base64.b64decode(theirs)
    return str(ours) == str(theirs)


def mdbtools_fault(kind, ours, theirs):
    """The fault of mdbtools 1.0 that explains a difference, if one does."""
    if kind in ("text", "memo") and ours == "" and theirs is None:
        return "mdbtools prints zero-length strings as NULL"
    if kind == "datetime" and str(theirs)[:10] == "1900-01-00" and not "1900" <= str(ours) < "9999":
        return "mdbtools prints dates before 1900 or in 9999 as 1900-01-00"
    if kind == "binary" and ours is not None:
        mine, cut = base64.b64decode(ours), base64.b64decode(theirs["$binary"]) if theirs else b""
        if mine.startswith(cut) and mine[len(cut):len(cut) + 1] == b"\0":
            return "mdbtools cuts binary values at their first zero byte"
    numbers = isinstance(ours, (str, float)) and isinstance(theirs, float)
    if kind == "currency" and numbers and math.isclose(float(ours), theirs, rel_tol=1e-15):
        return "mdbtools prints currency through a double"
    if kind == "double" and numbers and math.isinf(theirs) and abs(float(ours)) > 1.797e308:
        return "mdbtools prints the largest doubles as infinity"
    return None


def compare_row(cmp, where, columns, mine, other, oracle, jet3, stand_ins={}):
    """`mine` maps column names to values as dumps write them; `other` is an oracle's row;
    `stand_ins` maps a column to the value expected where the oracle's is wrong."""
    if list(mine.keys()) != [c["name"] for c in columns]:
        if sorted(mine.keys()) != sorted(c["name"] for c in columns):
            return cmp.fail(where, f"columns {list(mine.keys())}, expected {columns}")
        # Access shows columns in the order of the table's definition; mdb-reader in the order
        # of their numbers, which differs once columns are inserted or deleted.
        cmp.quirks[f"{oracle} lists columns by number, not in the definition's order"] += 1
    for c, column in enumerate(columns):
        kind, ours = column["type"], mine[column["name"]]
        theirs = other[c] if oracle == "mdb-reader" else other.get(column["name"])
        if column["name"] in stand_ins:
            kind, theirs = "stand-in", stand_ins[column["name"]]
            cmp.quirks[f"{oracle} cannot read some .accdb columns; values checked otherwise"] += 1
        cmp.values += 1
        if ours is None and theirs is None or None not in (ours, theirs) and same_value(
                cmp, kind, ours, theirs, oracle, jet3):
            pass
        elif oracle == "mdb-json" and mdbtools_fault(kind, ours, theirs):
            cmp.quirks[mdbtools_fault(kind, ours, theirs)] += 1
        else:
            cmp.fail(f"{where} column {column['name']}",
                     f"{kind}: ours {ours!r}, {oracle} {theirs!r}")


def compare_rows(cmp, where, columns, ours, rows, oracle, jet3, stand_ins=lambda mine, r: {}):
    """Row by row; failing that, the same rows in another order: we list a row moved to another
    page (an overflow row) at its original place, the readers where it is stored now."""
    if len(rows) != len(ours):
        return cmp.fail(where, f"{len(ours)} rows, {oracle} has {len(rows)}")
    def compared(mine, other, where="", r=None):
        compare_row(result := Comparison(), where, columns, mine, other, oracle, jet3,
                    stand_ins(mine, r) if r is not None else {})
        return result

    in_order = Comparison()
    for r, (mine, other) in enumerate(zip(ours, rows)):
        in_order.merge(compared(mine, other, f"{where} row {r + 1}", r))
    unmatched = list(range(len(rows))) if in_order.failures else []
    for r, mine in enumerate(ours if unmatched else []):
        j = next((j for j in unmatched if not compared(mine, rows[j], r=r).failures), None)
        unmatched.remove(j) if j is not None else None
    if in_order.failures and not unmatched:
        in_order.failures = []
        in_order.quirks[f"{oracle} lists moved (overflow) rows where they are stored now"] += 1
    cmp.merge(in_order)


def load_jsonl(data, where, cmp, who):
    try:
        return [json.loads(line, object_pairs_hook=collections.OrderedDict)
                for line in data.split(b"\n") if line]
    except ValueError as error:
        cmp.fail(where, f"{who} printed invalid JSON: {error}")
        return []


# Files neither reader opens: mdb-reader 3.2.0 lacks the "non-standard" AES provider (mdbtools
# decodes no Office encryption). Their tables as Jackcess, with its encryption add-on, reads them.
READ_BY_JACKCESS = {
    "jackcessencrypt__db-nonstandard.accdb": {"Table_One": {
        "columns": [{"name": "ID", "type": "long"}, {"name": "Field1", "type": "text"}],
        "rows": [{"ID": 1, "Field1": "test"}]}},
}


def oracle_tables(cmp, where, args, path, password=None, office_encrypted=False):
    """Yields each table mdb-reader finds: its name, its columns and each oracle's rows (mdbtools
    cannot decode Office encryption: mdb-reader alone reads those files)."""
    if os.path.basename(path) in READ_BY_JACKCESS:
        for table, theirs in READ_BY_JACKCESS[os.path.basename(path)].items():
            yield table, theirs["columns"], [("Jackcess", theirs["rows"], [])]
        return
    reader = run(["node", args.reader_script, args.reader_modules, path] + [password or ""])
    if reader.returncode != 0:
        return cmp.fail(where, f"mdb-reader: {reader.stderr.decode(errors='replace')[-300:]}")
    ace = path.lower().endswith(".accdb")
    for table, theirs in json.loads(reader.stdout)["tables"].items():
        if "error" in theirs:  # the whole table as Jackcess reads it, where known
            known = {c: v for (f, t, c), v in JACKCESS_VALUES.items() if (f, t) == (where, table)}
            if not known:
                cmp.fail(f"{where} / {table}", f"mdb-reader: {theirs['error']}")
                continue
            theirs = {"columns": [{"name": c, "type": "stand-in"} for c in known],
                      "rows": [[None] * len(known)] * len(next(iter(known.values()))),
                      "unreadable": list(known)}
        oracles = [("mdb-reader", theirs["rows"], theirs.get("unreadable", []))]
        if not ace and not office_encrypted:
            mdbjson = run(["mdb-json", "-T", MDB_JSON_DATE, "-D", MDB_JSON_DATE, path, table])
            oracles.append(("mdb-json", load_jsonl(mdbjson.stdout, where, cmp, "mdb-json"), []))
        yield table, theirs["columns"], oracles


def compare_file(cmp, args, name, password):
    path = os.path.join(args.testdata, name)
    options = ["--password", password] if password else []
    info = run([args.tool, "info", path] + options)
    if info.returncode != 0:
        return cmp.fail(name, f"info: {info.stderr.decode(errors='replace')}")
    lines = info.stdout.decode().splitlines()
    counts = {l[2:].rsplit("\t", 1)[0]: int(l.rsplit("\t", 1)[1].split()[0])
              for l in lines if l.startswith("  ")}
    jet3 = any("Jet 3" in l for l in lines)
    with open(path, "rb") as file:
        office_encrypted = "Encrypted: yes" in lines and file.read(19)[4:] == b"Standard ACE DB"
    found = []
    for table, columns, oracles in oracle_tables(cmp, name, args, path, password,
                                                 office_encrypted) or []:
        where = f"{name} / {table}"
        found.append(table)
        dump = run([args.tool, "dump", path, "--table", table, "--format", "jsonl"] + options)
        ours = load_jsonl(dump.stdout, where, cmp, "augurlex-dict")
        if dump.returncode != 0 or len(ours) != counts.get(table):
            cmp.fail(where, f"dump: {len(ours)} rows, info: {counts.get(table)}")
        for oracle, rows, unreadable in oracles:
            def stand_ins(mine, r):
                out = {c: f(mine) for (f_, t, c), f in CALCULATED.items() if (f_, t) == (name, table)}
                out.update({c: v[r] for (f, t, c), v in JACKCESS_VALUES.items()
                            if (f, t) == (name, table)})
                for column in set(unreadable) - set(out):
                    cmp.fail(where, f"mdb-reader cannot read column {column}, no values known")
                return out
            compare_rows(cmp, where, columns, ours, rows, oracle, jet3, stand_ins)
    if sorted(found) != sorted(counts):
        cmp.fail(name, f"tables: ours {sorted(counts)}, mdb-reader {sorted(found)}")


def arguments(description):
    """The command line's options; a missing test data folder is a failure, never a skip."""
    parser = argparse.ArgumentParser(description=description)
    for option in ("--tool", "--testdata", "--reader-modules", "--reader-script"):
        parser.add_argument(option, required=True)
    parser.add_argument("--literal-writer")
    args = parser.parse_args()
    if not os.path.isdir(args.testdata):
        sys.exit(print(f"FAIL: no test data at {args.testdata}") or 1)
    return args


def main():
    args = arguments(__doc__)
    with open(os.path.join(args.testdata, "FILES.tsv"), encoding="utf-8") as listing:
        header = listing.readline().rstrip("\n").split("\t")
        rows = [dict(zip(header, line.rstrip("\n").split("\t"))) for line in listing]
    passwords = {row["file"]: row["password"] for row in rows if row.get("password", "-") != "-"}
    cmp = Comparison()
    for name in sorted(f for f in os.listdir(args.testdata) if f.lower().endswith((".mdb", ".accdb"))):
        compare_file(cmp, args, name, passwords.get(name))
    return cmp.report()


if __name__ == "__main__":
    sys.exit(main())
