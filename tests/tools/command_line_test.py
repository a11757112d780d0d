#!/usr/bin/env python3
"""augurlex-dict as a user meets it: info output, exit statuses, passwords, and CSV that holds
the same values as JSON lines."""

import argparse
import json
import os
import subprocess
import sys
import tempfile
import unittest

TOOL = None
DATA = None


def run(*words):
    result = subprocess.run([TOOL, *words], capture_output=True)
    return result.returncode, result.stdout.decode("utf-8"), result.stderr.decode("utf-8")


def data(name):
    return os.path.join(DATA, name)


def json_lines(text):
    # Not str.splitlines(): that also splits at U+2028 and others, which JSON leaves unescaped.
    return [json.loads(line) for line in text.split("\n") if line]


def parse_csv(text):
    """RFC 4180 records, keeping apart quoted fields (str) and unquoted empty ones (None)."""
    records, record, field, quoted, i = [], [], "", False, 0
    in_quotes = False
    while i < len(text):
        ch = text[i]
        if in_quotes:
            if ch == '"' and text[i + 1 : i + 2] == '"':
                field += '"'
                i += 1
            elif ch == '"':
                in_quotes = False
            else:
                field += ch
        elif ch == '"':
            in_quotes = quoted = True
        elif ch == ",":
            record.append(field if (field or quoted) else None)
            field, quoted = "", False
        elif ch == "\r" and text[i + 1 : i + 2] == "\n":
            record.append(field if (field or quoted) else None)
            records.append(record)
            record, field, quoted = [], "", False
            i += 1
        else:
            field += ch
        i += 1
    assert not in_quotes and not record and not field, "CSV ends inside a record"
    return records


def as_csv_text(value):
    if value is None:
        return None
    if value is True or value is False:
        return "true" if value else "false"
    if isinstance(value, float):
        return repr(value)  # Python's repr is also the shortest round-trip form
    return str(value)


class Usage(unittest.TestCase):
    def test_mistakes_exit_2_with_the_usage_lines(self):
        for words in ([], ["frobnicate"], ["info"], ["info", "a", "b"],
                      ["dump", data("jackcess__testV1997.mdb"), "--format", "xml"],
                      ["dump", "x.mdb", "--colour", "red"],
                      ["info", data("jackcess__testV1997.mdb"), "--code-page", "GBK"]):
            status, _, err = run(*words)
            self.assertEqual(status, 2, words)
            self.assertIn("usage: augurlex-dict", err)

    def test_several_tables_need_a_choice_and_it_lists_them(self):
        status, _, err = run("dump", data("jackcess__testV1997.mdb"))
        self.assertEqual(status, 2)
        self.assertIn('"Table1" "Table2" "Table3" "Table4"', err)
        status, _, err = run("dump", data("jackcess__testV1997.mdb"), "--table", "Nope")
        self.assertEqual(status, 2)
        self.assertIn('"Table1"', err)

    def test_help_succeeds(self):
        status, out, _ = run("--help")
        self.assertEqual(status, 0)
        self.assertIn("augurlex-dict dump FILE", out)


class Unreadable(unittest.TestCase):
    def test_missing_file_exits_3(self):
        status, out, err = run("dump", "/nonexistent/words.mdb")
        self.assertEqual((status, out), (3, ""))
        self.assertIn("/nonexistent/words.mdb", err)

    def test_text_file_is_not_a_database(self):
        with tempfile.NamedTemporaryFile("w", suffix=".mdb", delete=False) as f:
            f.write("Just some text, not a database at all.\n" * 200)
        try:
            for command in ("info", "dump"):
                status, _, err = run(command, f.name)
                self.assertEqual(status, 3)
                self.assertIn("not a supported Access database", err)
        finally:
            os.unlink(f.name)


class Passwords(unittest.TestCase):
    FILES = {"mdbreader__password_V2000_with-password.mdb": "password",
             "mdbreader__password_V2003_with-password.mdb": "password"}

    def test_right_password_opens_wrong_or_none_refused(self):
        for name, password in self.FILES.items():
            status, out, _ = run("dump", data(name), "--password", password)
            self.assertEqual(status, 0, name)
            self.assertEqual(len(out.splitlines()), 3)
            for wrong in (["--password", "wrong"], ["--password", ""], []):
                status, out, err = run("dump", data(name), *wrong)
                self.assertEqual((status, out), (3, ""), (name, wrong))
                self.assertIn("Not a valid password.", err)

    def test_file_without_password_opens_with_any(self):
        name = data("mdbreader__password_V2000_no-password.mdb")
        outputs = {run("dump", name, *words)[1] for words in
                   ([], ["--password", "anything"], ["--password", ""])}
        self.assertEqual(len(outputs), 1)
        self.assertEqual(len(outputs.pop().splitlines()), 3)


class Info(unittest.TestCase):
    def test_jet3_file(self):
        status, out, _ = run("info", data("jackcess__testV1997.mdb"))
        self.assertEqual(status, 0)
        lines = out.splitlines()
        self.assertIn("Format: Jet 3 (Access 97)", lines)
        self.assertIn("Page size: 2048", lines)
        self.assertIn(f"Page count: {118784 // 2048}", lines)
        self.assertIn("Password: no", lines)
        self.assertIn("Encrypted: no", lines)
        self.assertIn("Tables: 4", lines)
        self.assertEqual(lines[-4:], ["  Table1\t2 rows", "  Table2\t0 rows", "  Table3\t0 rows",
                                      "  Table4\t0 rows"])

    def test_jet4_password_and_encryption(self):
        _, out, _ = run("info", data("mdbreader__password_V2003_with-password.mdb"),
                        "--password", "password")
        self.assertIn("Format: Jet 4 (Access 2000-2003)", out)
        self.assertIn("Page size: 4096", out)
        self.assertIn("Password: yes", out)
        _, out, _ = run("info", data("jackcessencrypt__db-enc.mdb"))
        self.assertIn("Encrypted: yes", out)
        self.assertIn("  Table1\t2 rows", out)

    def test_file_without_user_tables(self):
        status, out, _ = run("info", data("ucanaccess__password.mdb"), "--password", "ucanaccess")
        self.assertEqual(status, 0)
        self.assertIn("Tables: 0", out)
        status, _, err = run("dump", data("ucanaccess__password.mdb"), "--password", "ucanaccess")
        self.assertEqual(status, 2)
        self.assertIn("no user tables", err)


class Dump(unittest.TestCase):
    def test_jet3_text_in_a_code_page_the_caller_names(self):
        # The file names Windows-1252 in its header; its text was written in GBK (936).
        status, out, _ = run("dump", data("ucanaccess__charsetGBK.mdb"), "--code-page", "936")
        self.assertEqual(status, 0)
        self.assertEqual(list(json_lines(out)[0].values())[1], "GBK编码")
        _, out, _ = run("info", data("ucanaccess__charsetGBK.mdb"), "--code-page", "936")
        self.assertIn("Code page: 936", out)

    def test_csv_holds_the_same_values_as_json_lines(self):
        cases = [("jackcess__testV1997.mdb", "Table1"), ("jackcess__testV2003.mdb", "Table1"),
                 ("jackcess__test2V2003.mdb", "MSP_PROJECTS"),
                 ("jackcess__fixedNumericTestV2003.mdb", "test"),
                 ("jackcess__testIndexCodesV1997.mdb", "Table1"),
                 ("jackcess__testIndexCodesV1997.mdb", "Table5"),
                 ("jackcess__testIndexCodesV1997.mdb", "Table13"),
                 ("jackcess__testUnicodeCompV2003.mdb", "Table")]
        for name, table in cases:
            with self.subTest(file=name, table=table):
                status, lines, _ = run("dump", data(name), "--table", table)
                self.assertEqual(status, 0)
                status, text, _ = run("dump", data(name), "--table", table, "--format", "csv")
                self.assertEqual(status, 0)
                records = parse_csv(text)
                rows = json_lines(lines)
                self.assertEqual(len(records), len(rows) + 1)
                if rows:
                    self.assertEqual(records[0], list(rows[0].keys()))
                for record, row in zip(records[1:], rows):
                    self.assertEqual(record, [as_csv_text(v) for v in row.values()])


def main():
    global TOOL, DATA
    parser = argparse.ArgumentParser()
    parser.add_argument("--tool", required=True)
    parser.add_argument("--testdata", required=True)
    args, rest = parser.parse_known_args()
    TOOL, DATA = args.tool, args.testdata
    if not os.path.isdir(DATA):
        print(f"SKIP: no test data at {DATA}")
        return 77
    program = unittest.main(argv=[sys.argv[0], *rest], exit=False, verbosity=2)
    return 0 if program.result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
