#!/usr/bin/env python3
"""Writers that never lose data: concurrent merges and imports into one folder keep every row and
every catalogue entry; damage, unwritable output and odd names are reported, never passed over."""

import os, pathlib, shutil, struct, subprocess, sys, unittest

import command_line_test as cli
from command_line_test import Scratch, bundled_copy, run

ROUNDS = 20


class Folder(Scratch):
    def ok(self, *words):
        return self.expect(words, 0)

    def program_folder(self, name):
        return bundled_copy(self.path(name))

    def table_file(self, name, rows, header="names,Key,Link"):
        """A dictionary-layout file holding `rows` (tuples of the header's fields)."""
        path = self.path(name)
        csv = self.write(name + ".csv", header + "\n" + "".join(",".join(r) + "\n" for r in rows))
        self.ok("create", path)
        if rows:
            self.ok("import", path, "--csv", csv)
        return path

    def rows(self, path):
        return self.ok("dump", path, "--format", "csv").split("\r\n")[1:-1]


class Concurrency(Folder):
    def test_two_merges_and_two_imports_at_once_lose_nothing(self):
        shared = [("Sharedz", "a", f"https://s/a{i}") for i in range(3)]
        a = self.table_file("a.mdb", [("Tarot", f"a{i}", f"https://t/a{i}") for i in range(200)]
                            + [("Alphaz", "a", "https://a/1")] + shared)
        b = self.table_file("b.mdb", [("tarot", f"b{i}", f"https://t/b{i}") for i in range(200)]
                            + [("Runes", f"b{i}", f"https://r/b{i}") for i in range(200)]
                            + [("Betaz", "b", "https://b/1")]
                            + [(n, "b", link.replace("/a", "/b")) for n, _, link in shared])
        csvs = [self.write(side + ".csv", "Key,Link\n" + "".join(f"{side}{i},l\n" for i in range(500)))
                for side in "xy"]
        base = self.program_folder("base")
        tarot, runes = (len(self.rows(os.path.join(base, n))) for n in ("tarot.dll", "runes.dll"))
        for round in range(ROUNDS):
            with self.subTest(round=round):
                folder = self.path(f"round{round}")
                shutil.copytree(base, folder)
                target = os.path.join(folder, "imported.dll")
                self.ok("create", target)
                words = [["merge", a, "--folder", folder], ["merge", b, "--folder", folder]]
                words += [["import", target, "--csv", csv] for csv in csvs]
                runs = [subprocess.Popen([cli.TOOL, *w], stdout=subprocess.PIPE,
                                         stderr=subprocess.PIPE) for w in words]
                results = [(p.wait(timeout=120), p.stdout.read(), p.stderr.read()) for p in runs]
                for w, (status, out, err) in zip(words, results):
                    self.assertEqual(status, 0, (w, out, err))
                at = lambda name: self.rows(os.path.join(folder, name))
                self.assertEqual(len(at("tarot.dll")), tarot + 400)
                self.assertEqual(len(at("runes.dll")), runes + 200)
                self.assertEqual(len(at("sharedz.dll")), 6)
                self.assertEqual(len(at("imported.dll")), 1000)
                listed = [r.split(",")[0] for r in at("divination.dll")]
                for name in ("Alphaz", "Betaz"):
                    self.assertEqual(listed.count(name), 1, listed)
                self.assertEqual(sum(n.lower() == "sharedz" for n in listed), 1, listed)
                self.assertEqual([n for n in os.listdir(folder) if n.startswith(".")], [])
                shutil.rmtree(folder)


class Reporting(Folder):
    def test_a_damaged_file_is_exit_3_with_its_reason(self):
        dictionary = self.table_file("d.dll", [("", f"k{i}", f"l{i}") for i in range(44)])
        data = bytearray(pathlib.Path(dictionary).read_bytes())
        pages = [p for p in range(0, len(data), 4096)  # the table definition keeps the count
                 if data[p] == 2 and struct.unpack_from("<I", data, p + 16)[0] == 44]
        self.assertEqual(len(pages), 1)
        struct.pack_into("<I", data, pages[0] + 16, 46)
        pathlib.Path(dictionary).write_bytes(data)
        status, out, err = run("dump", dictionary, "--format", "csv")
        self.assertEqual((status, len(out.split("\r\n")) - 2), (3, 44), err)
        self.assertIn("stores 46 rows, but 44 could be read", err)

        several = self.table_file("several.mdb", [])
        shutil.copy(os.path.join(os.path.dirname(cli.TOOL), "tarot.dll"), several)
        with open(several, "ab") as f:  # not a whole number of pages
            f.write(b"\0" * 100)
        for words in (["dump", several, "--table", "none"], ["import", several, "--csv",
                                                              self.path("several.mdb.csv")]):
            status, _, err = run(*words)
            self.assertEqual(status, 3, err)
            self.assertIn("whole number of pages", err)

    def test_output_that_cannot_be_written_is_said_and_is_not_not_found(self):
        folder = self.program_folder("program")
        with open("/dev/full", "w") as full:
            for words in (["info", os.path.join(folder, "tarot.dll")], ["search", "the f"],
                          ["lookup", "the fool"], ["dump", os.path.join(folder, "tarot.dll")]):
                status, _, err = run(*words, "--folder", folder, stdout=full) \
                    if words[0] in ("search", "lookup") else run(*words, stdout=full)
                self.assertEqual(status, 4, words)
                self.assertIn("cannot write the output", err)

    def test_control_characters_in_names_are_escaped_and_cut_nothing_short(self):
        dictionary = self.table_file("d.dll", [])
        with open(self.path("nul.csv"), "wb") as f:
            f.write(b"Key\0x,Link\na,b\n")
        status, _, err = run("import", dictionary, "--csv", self.path("nul.csv"))
        self.assertEqual(status, 1)
        self.assertIn('column "Key\\x00x": table "data" has no such column', err)
        self.assertIn("nothing was imported", err)
        # Invisible format characters are shown too: the first byte-order mark is the file's,
        # the second is part of the name.
        with open(self.path("bom.csv"), "w", encoding="utf-8") as f:
            f.write("\ufeff\ufeffKey,Link\na,b\n")
        status, _, err = run("import", dictionary, "--csv", self.path("bom.csv"))
        self.assertIn('column "\\ufeffKey"', err)
        shutil.copy(dictionary, self.path("two\nlines.dll"))
        out = self.ok("import", self.path("two\nlines.dll"), "--csv", self.path("d.dll.csv"))
        self.assertEqual(out.count("\n"), 1)
        self.assertIn("two\\nlines.dll", out)

        update = self.table_file("u.mdb", [('"Two\nLines"', '"k\x01"', "https://x/1"),
                                           ('"Esc\u009b31m"', "k", "https://x/2"),
                                           ("Zero\u200bWidth\u202e", "k", "https://x/3")])
        status, out, _ = run("merge", update, "--folder", self.program_folder("program"))
        for line in out.splitlines():
            self.assertRegex(line, r"^(Rows read|Added|Duplicates|Failed|New dictionary)\b")
        self.assertIn("Two\\nLines", out)
        self.assertIn("Esc\\u009b31m", out)  # a terminal may take U+009B for an escape
        self.assertIn("New dictionary: Zero\\u200bWidth\\u202e", out)


class Refusals(Folder):
    def test_a_read_only_dictionary_fails_its_records_and_stays_as_it_was(self):
        folder = self.program_folder("program")
        tarot = os.path.join(folder, "tarot.dll")
        os.chmod(tarot, 0o444)
        before = pathlib.Path(tarot).read_bytes()
        update = self.table_file("u.mdb", [("Tarot", "k", "https://x/1")])
        status, out, _ = run("merge", update, "--folder", folder)
        self.assertEqual(status, 1, out)
        self.assertIn("Failed: 1", out)
        status, _, err = run("import", tarot, "--csv", self.path("u.mdb.csv"))
        self.assertEqual(status, 1, err)
        self.assertEqual(pathlib.Path(tarot).read_bytes(), before)
        self.assertEqual(os.stat(tarot).st_mode & 0o777, 0o444)


def main():
    cli.TOOL = sys.argv.pop(sys.argv.index("--tool") + 1)
    sys.argv.remove("--tool")
    program = unittest.main(argv=sys.argv, exit=False, verbosity=2)
    return 0 if program.result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
