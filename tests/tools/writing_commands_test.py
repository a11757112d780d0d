#!/usr/bin/env python3
"""augurlex-dict create, import and check as a user meets them, and the dictionary files the
build puts next to the executables."""

import argparse
import csv
import io
import json
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

TOOL = DATA = SOURCES = None
PROGRAM_PASSWORD = "K8Wum2qTx7vRb4Lpe9"


def run(*words):
    result = subprocess.run([TOOL, *words], capture_output=True)
    return result.returncode, result.stdout.decode("utf-8"), result.stderr.decode("utf-8")


def json_lines(text):
    return [json.loads(line) for line in text.split("\n") if line]


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def testdata_passwords():
    passwords = {}
    with open(os.path.join(DATA, "FILES.tsv"), encoding="utf-8") as f:
        header = f.readline().rstrip("\n").split("\t")
        for line in f:
            fields = dict(zip(header, line.rstrip("\n").split("\t")))
            passwords[fields["file"]] = fields.get("password", "-")
    return passwords


class Scratch(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="augurlex-writing-")

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def path(self, name):
        return os.path.join(self.dir, name)

    def write(self, name, text):
        with open(self.path(name), "w", encoding="utf-8", newline="") as f:
            f.write(text)
        return self.path(name)


class Create(Scratch):
    def test_dictionary_file_has_the_programs_password_and_columns(self):
        status, out, _ = run("create", self.path("omens.dll"))
        self.assertEqual(status, 0, out)
        _, info, _ = run("info", self.path("omens.dll"), "--password", PROGRAM_PASSWORD)
        self.assertIn("Password: yes", info)
        self.assertIn("  data\t0 rows", info)
        self.assertEqual(run("info", self.path("omens.dll"), "--password", "")[0], 3)
        status, out, _ = run("dump", self.path("omens.dll"), "--format", "csv")
        self.assertEqual(out, "names,Key,Link\r\n")

    def test_catalogue_without_password(self):
        status, _, _ = run("create", self.path("divination.dll"), "--catalogue", "--password", "")
        self.assertEqual(status, 0)
        _, info, _ = run("info", self.path("divination.dll"), "--password", "anything")
        self.assertIn("Password: no", info)
        self.assertEqual(run("dump", self.path("divination.dll"), "--format", "csv")[1],
                         "names,Database\r\n")

    def test_an_existing_file_is_kept_unless_forced(self):
        target = self.write("words.dll", "precious")
        status, _, err = run("create", target)
        self.assertEqual(status, 1)
        self.assertIn("--force", err)
        self.assertEqual(read_bytes(target), b"precious")
        self.assertEqual(run("create", target, "--force")[0], 0)
        self.assertEqual(run("check", target)[0], 0)

    def test_usage_mistakes(self):
        for words in (["create"], ["create", "a", "b"], ["create", "x", "--catalogue=yes"],
                      ["create", "x", "--password", "p" * 21], ["import", "x"],
                      ["import", "x", "--csv"], ["check"]):
            self.assertEqual(run(*words)[0], 2, words)


class Import(Scratch):
    def dictionary(self):
        target = self.path("runes.dll")
        run("create", target)
        return target

    def test_columns_in_any_order_and_case_with_quoting_and_bom(self):
        target = self.dictionary()
        rows = self.write("rows.csv", "\ufefflink,KEY\r\n"
                                      "\"https://x/a,b\",Fehu\r\n"
                                      "\"line\nbreak \"\"q\"\"\",\"\"\n"
                                      ",𝔘ruz\n")
        status, out, err = run("import", target, "--csv", rows)
        self.assertEqual(status, 0, err)
        self.assertIn("appended 3 rows", out)
        self.assertEqual(json_lines(run("dump", target)[1]), [
            {"names": None, "Key": "Fehu", "Link": "https://x/a,b"},
            {"names": None, "Key": "", "Link": "line\nbreak \"q\""},
            {"names": None, "Key": "𝔘ruz", "Link": None}])

    def test_a_refused_import_leaves_the_file_byte_identical(self):
        target = self.dictionary()
        self.assertEqual(run("import", target, "--csv",
                             self.write("first.csv", "Key,Link\nFehu,https://a\n"))[0], 0)
        before = read_bytes(target)
        cases = {
            "unknown column": ("Key,Colour\nx,red\n", 'line 1, column "Colour"'),
            "text too long": ("Key\nok\n" + "k" * 256 + "\n", "line 3"),
            "unterminated quote": ('Key,Link\na,b\n"c,d\n', "line 3"),
            "field count": ("Key,Link\na,b\nc\n", "line 3"),
        }
        for case, (text, where) in cases.items():
            with self.subTest(case):
                status, out, err = run("import", target, "--csv", self.write("bad.csv", text))
                self.assertEqual((status, out), (1, ""))
                self.assertIn("nothing was imported", err)
                if where:
                    self.assertIn(where, err)
                self.assertEqual(read_bytes(target), before)

    def test_bad_numbers_in_an_access_made_file_name_line_and_column(self):
        target = self.path("numbers.mdb")
        shutil.copy(os.path.join(DATA, "jackcess__fixedNumericTestV2003.mdb"), target)
        before = read_bytes(target)
        for text, where in (("col2\n1\nabc\n", 'line 3, column "col2"'),
                            ("col1,col2\nx,1.5.5\n", 'line 2, column "col2"'),
                            ("col1\n\"a\"b\n", "line 2")):
            status, _, err = run("import", target, "--csv", self.write("bad.csv", text))
            self.assertEqual(status, 1)
            self.assertIn(where, err)
            self.assertEqual(read_bytes(target), before)

    def test_indexed_table_missing_files_and_passwords(self):
        indexed = self.path("indexed.mdb")
        shutil.copy(os.path.join(DATA, "jackcess__indexTestV2000.mdb"), indexed)
        before = read_bytes(indexed)
        status, _, err = run("import", indexed, "--table", "Table1", "--csv",
                             self.write("rows.csv", "id\n1\n"))
        self.assertEqual(status, 1)
        self.assertIn("indexes", err)
        self.assertEqual(read_bytes(indexed), before)
        rows = self.write("ok.csv", "Key\nx\n")
        self.assertEqual(run("import", self.path("none.dll"), "--csv", rows)[0], 3)
        self.assertEqual(run("import", self.dictionary(), "--csv", self.path("none.csv"))[0], 3)
        self.assertEqual(run("import", self.dictionary(), "--csv", rows, "--password", "no")[0], 3)


class Check(Scratch):
    def test_every_access_made_file_is_sound(self):
        for name, password in sorted(testdata_passwords().items()):
            with self.subTest(name):
                words = ["check", os.path.join(DATA, name)]
                if password != "-":
                    words += ["--password", password]
                status, out, err = run(*words)
                self.assertEqual(status, 0, out + err)
                self.assertIn("no faults found", out)

    def test_damaged_copies_fail_with_one_line_per_fault(self):
        target = self.path("damaged.dll")
        run("create", target)
        run("import", target, "--csv", self.write("rows.csv", "Key,Link\n" + "k,l\n" * 500))
        original = read_bytes(target)
        with open(target, "ab") as f:  # not a whole number of pages
            f.write(b"\0" * 100)
        status, out, _ = run("check", target)
        self.assertEqual(status, 1)
        self.assertTrue(out.strip() and "no faults" not in out)
        # A data page that names a table page that is not a table definition.
        damaged = bytearray(original)
        page = 4096
        data_pages = [p for p in range(len(damaged) // page)
                      if damaged[p * page] == 1 and damaged[p * page + 4:p * page + 8] != b"LVAL"]
        last = data_pages[-1] * page
        damaged[last + 4:last + 8] = (1).to_bytes(4, "little")
        with open(target, "wb") as f:
            f.write(damaged)
        status, out, _ = run("check", target)
        self.assertEqual(status, 1)
        self.assertGreaterEqual(len(out.strip().split("\n")), 1)
        self.assertEqual(run("check", self.path("absent.dll"))[0], 3)


class BundledFiles(unittest.TestCase):
    """The files the build writes next to the executables, against the CSV sources."""

    def setUp(self):
        self.bin = os.path.dirname(TOOL)
        with open(os.path.join(SOURCES, "dictionaries.csv"), encoding="utf-8", newline="") as f:
            self.names = [row[0] for row in list(csv.reader(f))[1:] if row]

    def dump(self, name):
        status, out, err = run("dump", os.path.join(self.bin, name), "--password",
                               PROGRAM_PASSWORD)
        self.assertEqual(status, 0, err)
        return json_lines(out)

    def test_catalogue_lists_every_dictionary_in_order(self):
        self.assertEqual(self.dump("divination.dll"),
                         [{"names": n, "Database": n.lower() + ".dll"} for n in self.names])

    def test_each_dictionary_holds_its_csv_rows_in_order_and_is_sound(self):
        for name in self.names + ["clone"]:
            with self.subTest(name):
                lower = name.lower()
                rows = []
                if name != "clone":
                    with open(os.path.join(SOURCES, lower + ".csv"), encoding="utf-8",
                              newline="") as f:
                        rows = [{"names": lower, "Key": r["Key"], "Link": r["Link"]}
                                for r in csv.DictReader(f)]
                self.assertEqual(self.dump(lower + ".dll"), rows)
                path = os.path.join(self.bin, lower + ".dll")
                self.assertEqual(run("check", path)[0], 0)
                self.assertEqual(run("info", path, "--password", "")[0], 3)  # has a password


def main():
    global TOOL, DATA, SOURCES
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    parser.add_argument("--testdata", required=True)
    parser.add_argument("--sources", required=True, help="the data/ folder of CSV sources")
    args, rest = parser.parse_known_args()
    TOOL, DATA, SOURCES = args.tool, args.testdata, args.sources
    if not os.path.isdir(DATA):
        print(f"SKIP: no test data at {DATA}")
        return 77
    program = unittest.main(argv=[sys.argv[0], *rest], exit=False, verbosity=2)
    return 0 if program.result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
