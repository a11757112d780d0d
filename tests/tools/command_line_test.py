#!/usr/bin/env python3
"""augurlex-dict as a user meets it: exit statuses and messages, passwords, info, dump, create,
import, check, search, lookup and merge, and the files the build puts next to the executables."""

import argparse, csv, io, json, os, pathlib, random, re, shutil, subprocess, sys, tempfile, unittest

TOOL = DATA = SOURCES = None
PASSWORD = "K8Wum2qTx7vRb4Lpe9"  # the program's


def run(*words, stdout=subprocess.PIPE):
    result = subprocess.run([TOOL, *words], stdout=stdout, stderr=subprocess.PIPE)
    out = result.stdout.decode("utf-8") if result.stdout is not None else ""
    return result.returncode, out, result.stderr.decode("utf-8")


def data(name):
    return os.path.join(DATA, name)


def json_lines(text):  # not splitlines(): JSON leaves U+2028 and others unescaped
    return [json.loads(line) for line in text.split("\n") if line]


def bundled_copy(folder):
    """The bundled files copied into `folder` by their list: the catalogue, the template and the
    dictionaries the catalogue names, never whatever else the build's folder holds."""
    bundled = os.path.dirname(TOOL)
    listed = json_lines(run("dump", os.path.join(bundled, "divination.dll"))[1])
    os.makedirs(folder)
    for name in ["divination.dll", "clone.dll", *(row["Database"] for row in listed)]:
        shutil.copy(os.path.join(bundled, name), folder)
    return folder


# Access-made files the check faults as they are: one corrupted on purpose, one whose system
# tables Access left inconsistent, one with column types no one defines.
FAULTED_AS_MADE = {"ucanaccess__corrupted.accdb", "mdbreader__V2016_withdeletedcol.accdb",
                   "jackcess__unsupportedFieldsTestV2007.accdb"}


def password_words():
    """The --password words each Access-made test file opens with, by file name."""
    with open(data("FILES.tsv"), encoding="utf-8") as f:
        rows = [line.split("\t") for line in list(f)[1:]]
    return {row[0]: [] if row[4] == "-" else ["--password", row[4]] for row in rows}


class Scratch(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="augurlex-cli-")
        self.addCleanup(shutil.rmtree, self.dir, True)

    def path(self, name):
        return os.path.join(self.dir, name)

    def write(self, name, text):
        with open(self.path(name), "w", encoding="utf-8", newline="") as f:
            f.write(text)
        return self.path(name)

    def expect(self, words, status, out=None, err=""):
        """Runs the tool; checks the status, the whole output when given, a piece of the errors."""
        got = run(*words)
        self.assertEqual(got[0], status, (words, got))
        if out is not None:
            self.assertEqual(got[1], out, words)
        self.assertIn(err, got[2], words)
        return got[1]


class Reading(Scratch):
    def test_mistakes_exit_2_with_the_usage_and_unreadable_files_exit_3(self):
        t1997 = data("jackcess__testV1997.mdb")
        for words in ([], ["frobnicate"], ["info"], ["info", "a", "b"], ["check"], ["import", "x"],
                      ["dump", t1997, "--format", "xml"], ["dump", "x.mdb", "--colour", "red"],
                      ["info", t1997, "--code-page", "GBK"], ["create", "x", "--catalogue=yes"],
                      ["create", "x", "--password", "p" * 21], ["import", "x", "--csv"],
                      ["search"], ["lookup", "a", "b"], ["merge"], ["dump", t1997, "--table"],
                      ["dump", t1997, "--table", "a", "--table", "b"], ["dump", t1997, "--format", "--x"],
                      ["pages"], ["page", t1997], ["page", t1997, "x"], ["page", t1997, "-1"],
                      ["page", t1997, "58"]):
            self.expect(words, 2, "", "usage: augurlex-dict")
        self.expect(["dump", "--", "--table"], 3, "", "--table")  # "--" ends the options
        self.expect(["dump", t1997, "--table=Table1", "--format=csv"], 0)
        usage = self.expect(["--help"], 0)
        self.assertIn("augurlex-dict dump FILE", usage)
        # The manual page names every command and option the usage text does.
        with open(os.path.join(SOURCES, "..", "packaging", "augurlex-dict.1.in"), encoding="utf-8") as f:
            manual = f.read().replace("\\-", "-")
        for word in set(re.findall(r"augurlex-dict [a-z]+|--[a-z-]+", usage)):
            self.assertIn(word.replace("augurlex-dict ", ".B augurlex-dict "), manual)
        self.expect(["dump", t1997], 2, "", '"Table1" "Table2" "Table3" "Table4"')
        self.expect(["dump", t1997, "--table", "Nope"], 2, "", '"Table1"')
        self.expect(["dump", "/nonexistent/words.mdb"], 3, "", "/nonexistent/words.mdb")
        text = self.write("text.mdb", "Just some text, not a database at all.\n" * 200)
        for command in ("info", "dump", "check", "pages"):
            self.expect([command, text], 3, "", "not a supported Access database")

    def test_a_password_opens_only_its_file_and_a_file_without_one_opens_with_any(self):
        for version in ("V2000", "V2003"):
            locked = data(f"mdbreader__password_{version}_with-password.mdb")
            out = self.expect(["dump", locked, "--password", "password"], 0)
            self.assertEqual(len(out.splitlines()), 3)
            for wrong in (["--password", "wrong"], ["--password", ""], []):
                self.expect(["dump", locked, *wrong], 3, "", "Not a valid password.")
            free = data(f"mdbreader__password_{version}_no-password.mdb")
            outputs = {run("dump", free, *w)[1] for w in ([], ["--password", "x"], ["--password", ""])}
            self.assertEqual(len(outputs), 1)

    def test_info(self):
        lines = self.expect(["info", data("jackcess__testV1997.mdb")], 0).splitlines()
        self.assertEqual(lines[1:], ["Format: Jet 3 (Access 97)", "Page size: 2048", "Page count: 58",
                                     "Password: no", "Encrypted: no", "Code page: 1252", "Tables: 4",
                                     "  Table1\t2 rows", *[f"  Table{n}\t0 rows" for n in (2, 3, 4)]])
        out = self.expect(["info", data("mdbreader__password_V2003_with-password.mdb"),
                           "--password", "password"], 0)
        for line in ("Format: Jet 4 (Access 2000-2003)", "Page size: 4096", "Password: yes"):
            self.assertIn(line, out)
        self.assertIn("Encrypted: yes", self.expect(["info", data("jackcessencrypt__db-enc.mdb")], 0))
        empty = [data("ucanaccess__password.mdb"), "--password", "ucanaccess"]
        self.assertIn("Tables: 0", self.expect(["info", *empty], 0))
        self.expect(["dump", *empty], 2, "", "no user tables")
        gbk = data("ucanaccess__charsetGBK.mdb")  # its header says 1252; its text is GBK (936)
        out = self.expect(["dump", gbk, "--code-page", "936"], 0)
        self.assertEqual(list(json_lines(out)[0].values())[1], "GBK编码")
        self.assertIn("Code page: 936", self.expect(["info", gbk, "--code-page", "936"], 0))

    def test_dump_then_import_brings_back_every_record_of_each_table_its_keys_allow(self):
        tables, copy = 0, self.path("copy.mdb")
        for name, pw in sorted(password_words().items()):
            if name in FAULTED_AS_MADE:  # refused for writing as damaged
                continue
            for line in run("info", data(name), *pw)[1].splitlines():
                table = line.strip().split("\t")[0]
                if not line.startswith("  "):
                    continue
                shutil.copyfile(data(name), copy)
                dump = ["dump", copy, "--table", table, "--format", "csv", *pw]
                original = self.expect(dump, 0)
                csv_file = self.write("t.csv", original)
                status, _, err = run("import", copy, "--table", table, "--csv", csv_file, *pw)
                if status == 0:  # every record comes back, after those there
                    self.expect(dump, 0, original + original[original.index("\r\n") + 2:])
                    tables += 1
                else:  # a unique key collides, a sort order without keys, an .accdb: no change
                    self.assertRegex(err, "duplicates a key|sort order|2007 or later", (name, table))
                    self.assertEqual(pathlib.Path(copy).read_bytes(), pathlib.Path(data(name)).read_bytes())
        self.assertGreaterEqual(tables, 20)

    def test_pages_and_page_lay_out_each_kind_of_page(self):
        t1997, t2003 = data("jackcess__testV1997.mdb"), data("jackcess__testV2003.mdb")
        lines = self.expect(["pages", t1997], 0).splitlines()
        self.assertEqual(len(lines), 1 + 58)
        for line in ("     0  header               -  -", "    29  table definition     -  Table1",
                     "    31  data              1940  Table1", "    32  index leaf        1778  Table1",
                     "    36  table definition     -  -  [listed free]"):
            self.assertIn(line, lines)
        for page, shown in [(29, 'Table type: 0x4e (user)\nStored rows: 2\nOwned pages map: row 30:0\n'),
                            (29, '  "PrimaryKey" root page 33, on "A", primary key\n'),
                            (31, "  slot  offset  length  flags\n     0    2008      40\n     1    1954      54\n"),
                            (32, "Entries: 2\n     0  7f 61 00  -> row 31:0\n"),
                            (6, '        Usage map of the long-value pages of column "LvProp" of table "MSysObjects": '
                                "inline, first page 0, pages set: 20, 45-49, 57\n")]:
            self.assertIn(shown, self.expect(["page", t1997, str(page)], 0))
        self.assertIn('Usage map of the pages with free space of table "MSysACEs": reference, first page 0, '
                      "pages set: 760\n", self.expect(["page", t2003, "765"], 0))
        self.assertIn('Next page: 708\n', self.expect(["page", t2003, "30"], 0))
        later = self.expect(["page", t2003, "708"], 0)  # a definition's second page: no columns of its own
        self.assertIn('Table: "Table2" (definition at page 30)\n', later)
        self.assertTrue(later.endswith("Free bytes: 3760\nNext page: 0\n"), later)
        encoded = self.expect(["page", data("jackcessencrypt__db-enc.mdb"), "0"], 0)
        self.assertIn("Page encoding: key 0x", encoded)
        self.assertIn("     2  table definition  3038  MSysObjects",
                      self.expect(["pages", data("jackcessencrypt__db-enc.mdb")], 0))
        locked = data("ucanaccess__password.mdb")  # the password itself is never shown
        self.expect(["page", locked, "0"], 3, "", "Not a valid password.")
        header = self.expect(["page", locked, "0", "--password", "ucanaccess"], 0)
        self.assertIn("Password: yes\n", header)
        self.assertNotIn("ucanaccess", header)

    def test_page_shows_the_damage_check_reports(self):
        damaged = self.path("damaged.mdb")
        shutil.copyfile(data("jackcess__testV1997.mdb"), damaged)
        with open(damaged, "r+b") as f:
            f.seek(31 * 2048 + 11)  # the flags of row 0 of Table1's data page: now deleted
            f.write(b"\xc7")
            f.seek(32 * 2048 + 0xf8 + 8)  # the first key byte of the second entry of index "B"
            f.write(b"\x60")
        faults = self.expect(["check", damaged], 1)
        self.assertIn("the entry for row 0 of page 31 names no live row", faults)
        self.assertIn("the key of the entry for row 1 of page 31 is not the key", faults)
        self.assertIn("     0    2008       0  deleted\n", self.expect(["page", damaged, "31"], 0))
        self.assertIn("     1  7f 60 6a 6b 6c 6d 6f 70 72 73 00  -> row 31:1\n",
                      self.expect(["page", damaged, "32"], 0))
        with open(damaged, "r+b") as f:  # pages that cannot be decoded: the rest is still listed
            f.seek(31 * 2048 + 8)
            f.write(b"\xff\x0f")  # more rows than the page holds
            f.seek(32 * 2048 + 0x16)
            f.write(b"\x84")  # an index entry of two bytes
        self.assertIn("row count 4095 does not fit", self.expect(["check", damaged], 1))
        lines = self.expect(["pages", damaged], 0).splitlines()
        self.assertEqual(len(lines), 1 + 58)
        self.assertIn("row count 4095 does not fit", lines[1 + 31])
        self.assertIn("[damaged: corrupt database: page 32: index entry 0 is too short]", lines[1 + 32])
        self.assertIn("Entries: 0\nFault: corrupt database: page 32: index entry 0 is too short\n",
                      self.expect(["page", damaged, "32"], 0))

    def test_every_access_made_file_is_sound_and_damage_is_found(self):
        for name, pw in password_words().items():
            if name in FAULTED_AS_MADE:
                self.assertNotIn("no faults", self.expect(["check", data(name), *pw], 1))
                continue
            self.expect(["check", data(name), *pw], 0, f"{data(name)}: no faults found\n")
            self.assertNotRegex(self.expect(["pages", data(name), *pw], 0), r"\[damaged|fault", name)
        target = self.path("damaged.dll")
        self.expect(["create", target], 0)
        self.expect(["import", target, "--csv", self.write("r.csv", "Key,Link\n" + "k,l\n" * 500)], 0)
        with open(target, "ab") as f:  # not a whole number of pages
            f.write(b"\0" * 100)
        self.assertNotIn("no faults", self.expect(["check", target], 1))
        self.expect(["check", self.path("absent.dll")], 3)
        # A row whose place on its page is out of bounds: the reason names the file, once.
        broken = self.path("broken.dll")
        self.expect(["create", broken], 0)
        self.expect(["import", broken, "--csv", self.path("r.csv")], 0)
        pages = pathlib.Path(broken).read_bytes()
        page = max(n for n in range(1, len(pages) // 4096) if pages[n * 4096] == 1
                   and pages[n * 4096 + 4:n * 4096 + 8] != b"LVAL")  # the last rows added
        with open(broken, "r+b") as f:
            f.seek(page * 4096 + 14)  # the first row's offset
            f.write(b"\xff\x1f")
        err = run("dump", broken)[2]
        self.assertIn("bad bounds", err)
        self.assertNotIn(f"{broken}: {broken}", err)


class Writing(Scratch):
    def test_create_makes_the_programs_files_and_keeps_an_existing_one_unless_forced(self):
        dictionary, catalogue = self.path("omens.dll"), self.path("divination.dll")
        self.expect(["create", dictionary], 0, f'created {dictionary}: a dictionary file, table "data"\n')
        self.assertIn("  data\t0 rows", self.expect(["info", dictionary, "--password", PASSWORD], 0))
        self.expect(["info", dictionary, "--password", ""], 3)
        self.expect(["dump", dictionary, "--format", "csv"], 0, "names,Key,Link\r\n")
        self.expect(["create", catalogue, "--catalogue", "--password", ""], 0)
        self.assertIn("Password: no", self.expect(["info", catalogue, "--password", "any"], 0))
        self.expect(["dump", catalogue, "--format", "csv"], 0, "names,Database\r\n")
        self.expect(["create", catalogue], 1, "", "--force")
        self.expect(["create", catalogue, "--force"], 0)

    def test_create_declares_indexes_that_import_keeps_and_that_refuse_duplicates(self):
        rows = "names,Key,Link\n" + "".join(f"n{i % 3},Clé {i},https://x/{i}\n" for i in range(3000))
        dup = self.write("dup.csv", "names,Key,Link\nz,new,HTTPS://X/7\n")
        # The same in an Access 2010 file, whose text keys follow the current "General" order.
        for target, format, version in [(self.path("indexed.dll"), "mdb", "Jet 4 (Access 2000-2003)"),
                                        (self.path("indexed.accdb"), "accdb", "ACE 14 (Access 2010)")]:
            accdb = format == "accdb"
            self.expect(["create", target, "--format", format, "--index", "Link", "--unique",
                         "--index=names,Key", "--primary-key", "--index", "Key", "--descending",
                         "--ignore-nulls"], 0,
                        f'created {target}: a dictionary file{" (Access 2010)" * accdb}, table "data", '
                        "indexed on Link (unique), names+Key (primary key), Key (descending, ignores "
                        f'nulls){", no password" * accdb}\n')
            self.assertIn(f"Format: {version}\n", self.expect(["info", target], 0))
            self.expect(["import", target, "--csv", self.write("rows.csv", rows)], 0)
            self.expect(["check", target], 0, f"{target}: no faults found\n")
            before = pathlib.Path(target).read_bytes()
            self.expect(["import", target, "--csv", dup], 1, "", 'index "Link": the row duplicates a key')
            self.assertEqual(pathlib.Path(target).read_bytes(), before)
        for words, err in [(["--unique", "--index", "Key"], "--unique describes the --index before it"),
                           (["--format", "xls"], "--format takes mdb or accdb"),
                           (["--format", "accdb", "--password", "p"], "keeps a password only when"),
                           (["--index", "Colour"], 'no column "Colour"'),
                           (["--index", "Key,"], "separated by commas"),
                           (["--index", "Key", "--primary-key", "--index", "Link", "--primary-key"],
                            "one primary key")]:
            self.expect(["create", self.path("bad.dll")] + words, 2, "", err)
            self.assertFalse(os.path.exists(self.path("bad.dll")), words)

    def test_import_takes_columns_in_any_order_and_case_with_quoting_and_a_byte_order_mark(self):
        target = self.path("runes.dll")
        self.expect(["create", target], 0)
        rows = self.write("rows.csv", '\ufefflink,KEY\r\n"https://x/a,b",Fehu\r\n'
                                      '"line\nbreak ""q""",""\n,𝔘ruz\n')
        self.expect(["import", target, "--csv", rows], 0, f'appended 3 rows to table "data" of {target}\n')
        self.expect(["dump", target, "--format", "csv"], 0,
                    'names,Key,Link\r\n,Fehu,"https://x/a,b"\r\n,"","line\nbreak ""q"""\r\n,𝔘ruz,\r\n')

    def test_import_reads_a_csv_larger_than_its_buffer_whatever_falls_across_a_boundary(self):
        target, rng = self.path("big.dll"), random.Random(7)
        pieces = ["a", "b,c", 'say "so"', "two\nlines", "cr\r\nlf", "Äsir", "𝔘ruz", "x" * 40]
        rows = [[f"k{i}-" + rng.choice(pieces), "https://e/" + "".join(rng.choices(pieces, k=9))]
                for i in range(30000)]  # about 3 MB: records cross the reader's chunks
        text = io.StringIO(newline="")
        csv.writer(text, lineterminator=rng.choice(["\r\n", "\n"])).writerows([["Key", "Link"]] + rows)
        self.expect(["create", target], 0)
        self.expect(["import", target, "--csv", self.write("big.csv", text.getvalue())], 0)
        dumped = list(csv.reader(io.StringIO(self.expect(["dump", target, "--format", "csv"], 0),
                                             newline="")))
        self.assertEqual(dumped[1:], [["", key, link] for key, link in rows])
        bad = text.getvalue() + 'late,"never closed\n'
        self.expect(["import", target, "--csv", self.write("bad.csv", bad)], 1,
                    "", f"line {bad.count(chr(10))}")

    def test_a_refused_import_says_where_and_leaves_the_file_byte_identical(self):
        numbers, indexed, mine = self.path("numbers.mdb"), self.path("indexed.mdb"), self.path("mine.mdb")
        shutil.copyfile(data("jackcess__fixedNumericTestV2003.mdb"), numbers)
        shutil.copyfile(data("jackcess__indexTestV2000.mdb"), indexed)
        self.expect(["create", mine], 0)
        for target, text, where in [
                (mine, "Key,Colour\nx,red\n", 'line 1, column "Colour"'),
                (mine, "Key\nok\n" + "k" * 256 + "\n", "line 3"),
                (mine, 'Key,Link\na,b\n"c,d\n', "line 3"),  # a quote never closed
                (mine, "Key,Link\na,b\nc\n", "line 3"),
                (mine, "Key,Key\na,b\n", "line 1"),
                (mine, 'Key\n"one\ntwo"\nab"c\n', "line 4"),  # lines inside quotes count
                (numbers, "col2\n1\nabc\n", 'line 3, column "col2"'),
                (numbers, "col1,col2\nx,1.5.5\n", 'line 2, column "col2"'),
                (numbers, 'col1\n"a"b\n', "line 2"),
                (indexed, "id\n1\n", "duplicates a key of the primary key")]:
            before = pathlib.Path(target).read_bytes()
            words = ["import", target, "--csv", self.write("bad.csv", text)]
            words += ["--table", "Table1"] if target == indexed else []
            self.expect(words, 1, "", where)
            self.assertIn("nothing was imported", run(*words)[2])
            self.assertEqual(pathlib.Path(target).read_bytes(), before, text)
        ok = self.write("ok.csv", "Key\nx\n")
        self.expect(["import", self.path("none.dll"), "--csv", ok], 3)
        self.expect(["import", mine, "--csv", self.path("none.csv")], 3)
        self.expect(["import", mine, "--csv", ok, "--password", "no"], 3)

    def test_search_lookup_and_merge_over_a_program_folder(self):
        folder = bundled_copy(self.path("program"))
        at = ["--folder", folder]
        self.expect(["search", "the f", *at], 0, "The Fool\n")
        self.expect(["search", "*fool", "--mode", "wildcard", "--dictionary", "Tarot", *at], 0, "The Fool\n")
        fool = "https://en.wikipedia.org/wiki/The_Fool_(tarot_card)"
        self.expect(["lookup", " the fool ", *at], 0, fool + "\n")
        self.expect(["lookup", "The Fool", "--dictionary", "Runes", *at], 1, "", "is in no dictionary")
        self.expect(["lookup", "numerolgy", *at], 1, "",
                    'augurlex-dict: "numerolgy" is in no dictionary (All); did you mean: Numerology')
        self.expect(["lookup", "seance", "--dictionary", "Methods", *at], 1, "", "did you mean: Séance?\n")
        self.assertTrue(run("lookup", "runez", "--dictionary", "Tarot", *at)[2].endswith("(Tarot)\n"))
        self.expect(["search", "x", "--dictionary", "Nothing", *at], 3, "", "nothing.dll")
        update = self.path("update.dll")
        self.expect(["create", update], 0)
        rows = f"names,Key,Link\nTAROT,The Fool,{fool}\nrunecasting,Fehu,https://r/f\n../x,k,l\n"
        self.expect(["import", update, "--csv", self.write("u.csv", rows)], 0)
        self.expect(["merge", update, *at], 1, "Rows read: 3\nAdded: 1\nDuplicates: 1\nFailed: 1\n"
                    'New dictionary: Runecasting\nFailed row 3 (../x, Key "k"): the dictionary name '
                    '"../x" holds a path separator\n')
        self.expect(["lookup", "fehu", "--dictionary", "Runecasting", *at], 0, "https://r/f\n")
        # The same update as an Access 2010 file: its rows are now all there.
        self.expect(["create", self.path("update.accdb"), "--format", "accdb"], 0)
        self.expect(["import", self.path("update.accdb"), "--csv", self.path("u.csv")], 0)
        self.assertTrue(self.expect(["merge", self.path("update.accdb"), *at], 1).startswith(
            "Rows read: 3\nAdded: 0\nDuplicates: 2\nFailed: 1\n"))
        out = self.expect(["merge", self.path("u.csv"), *at], 1)
        self.assertEqual(out.split("\n")[:2], ["The update file cannot be read",
                                               self.path("u.csv") + ": not a supported Access database: "
                                               + self.path("u.csv") + " (no Jet header)"])

    def test_the_bundled_files_hold_the_csv_sources_and_are_sound(self):
        with open(os.path.join(SOURCES, "dictionaries.csv"), encoding="utf-8", newline="") as f:
            names = [row[0] for row in list(csv.reader(f))[1:] if row]
        bundled = lambda name: os.path.join(os.path.dirname(TOOL), name)
        dump = lambda name: json_lines(self.expect(["dump", bundled(name)], 0))
        self.assertEqual(dump("divination.dll"), [{"names": n, "Database": f"{n.lower()}.dll"} for n in names])
        for name in names + ["clone"]:
            rows = []
            if name != "clone":
                with open(os.path.join(SOURCES, name.lower() + ".csv"), encoding="utf-8", newline="") as f:
                    rows = [{"names": name.lower(), **r} for r in csv.DictReader(f)]
            self.assertEqual(dump(name.lower() + ".dll"), rows, name)
            self.expect(["check", bundled(name.lower() + ".dll")], 0)
            self.expect(["info", bundled(name.lower() + ".dll"), "--password", ""], 3)


def main():
    global TOOL, DATA, SOURCES
    parser = argparse.ArgumentParser()
    for option in ("--tool", "--testdata", "--sources"):
        parser.add_argument(option, required=True)
    args, rest = parser.parse_known_args()
    TOOL, DATA, SOURCES = args.tool, args.testdata, args.sources
    if not os.path.isdir(DATA):
        print(f"SKIP: no test data at {DATA}")
        return 77
    program = unittest.main(argv=[sys.argv[0], *rest], exit=False, verbosity=2)
    return 0 if program.result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
