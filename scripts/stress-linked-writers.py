#!/usr/bin/env python3
"""Two writers of one dictionary through two program folders, started together, round after round.

A program folder's tarot.dll is a symbolic link to tarot.dll in a second program folder. Each
round starts `merge A --folder first` with `merge B --folder second`, or with
`import second/tarot.dll`; every writer must either add all its rows or fail cleanly (exit 1,
"another update of this folder is in progress") and no row may be lost. A last set of rounds kills
a merge through the link while it writes its new file and checks that the next merge of the program folder removes
its scratch file from the linked file's folder. Not part of the test suite: it takes minutes.

    scripts/stress-linked-writers.py build [--rounds 20] [--rows 100000]
"""

import argparse, os, random, shutil, signal, subprocess, sys, tempfile, time

BUSY = "another update of this folder is in progress"


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--rounds", type=int, default=20)
    parser.add_argument("--rows", type=int, default=100000)
    args = parser.parse_args()
    bundled = os.path.join(args.build, "bin")
    tool = os.path.join(bundled, "augurlex-dict")
    work = tempfile.mkdtemp(prefix="augurlex-stress-")
    try:
        return Stress(tool, bundled, work, args.rows).run(args.rounds)
    finally:
        shutil.rmtree(work, True)


class Stress:
    def __init__(self, tool, bundled, work, rows):
        self.tool, self.bundled, self.work, self.rows = tool, bundled, work, rows
        self.updates = {side: self.update_file(side) for side in "ab"}
        self.csv = os.path.join(work, "import.csv")
        with open(self.csv, "w") as f:
            f.write("names,Key,Link\n")
            f.writelines(f"tarot,c{i},https://stress/c/{i}\n" for i in range(rows))

    def call(self, *words):
        return subprocess.run([self.tool, *words], capture_output=True, text=True)

    def update_file(self, side):
        path, csv = os.path.join(self.work, side + ".mdb"), os.path.join(self.work, side + ".csv")
        with open(csv, "w") as f:
            f.write("names,Key,Link\n")
            f.writelines(f"Tarot,{side}{i},https://stress/{side}/{i}\n" for i in range(self.rows))
        for words in (["create", path], ["import", path, "--csv", csv]):
            result = self.call(*words)
            if result.returncode != 0:
                sys.exit(f"cannot make {path}: {result.stderr}")
        return path

    def folders(self, round):
        first, second = (os.path.join(self.work, f"{name}{round}") for name in ("first", "second"))
        for folder in (first, second):
            os.mkdir(folder)
            for name in ("divination.dll", "clone.dll", "tarot.dll"):
                shutil.copy(os.path.join(self.bundled, name), folder)
        os.remove(os.path.join(first, "tarot.dll"))
        os.symlink(os.path.join(second, "tarot.dll"), os.path.join(first, "tarot.dll"))
        return first, second

    def count(self, path):
        out = self.call("info", path).stdout
        return int(out.split("\n  data\t")[1].split()[0])

    @staticmethod
    def scratch(*folders):
        return [n for f in folders for n in os.listdir(f) if ".augurlex-" in n]

    def together(self, first, second, other):
        writers = [["merge", self.updates["a"], "--folder", first], other]
        runs = [subprocess.Popen([self.tool, *w], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                 text=True) for w in writers]
        return [(run.wait(), *run.communicate()) for run in runs]

    def run(self, rounds):
        failures, outcomes = [], {}
        kinds = {"two merges": lambda f, s: ["merge", self.updates["b"], "--folder", s],
                 "a merge and an import": lambda f, s: ["import", os.path.join(s, "tarot.dll"),
                                                        "--csv", self.csv]}
        for kind, other in kinds.items():
            for round in range(rounds):
                first, second = self.folders(f"{kind[0]}{round}")
                before = self.count(os.path.join(second, "tarot.dll"))
                results = self.together(first, second, other(first, second))
                expected, tally = before, []
                for status, out, err in results:
                    if status == 0:
                        expected += self.rows
                        tally.append("ok")
                    elif status == 1 and BUSY in out + err:
                        tally.append("refused")
                    else:
                        failures.append(f"{kind} {round}: exit {status}: {out[-300:]}{err[-300:]}")
                after = self.count(os.path.join(second, "tarot.dll"))
                if after != expected:
                    failures.append(f"{kind} {round}: {after} rows, expected {expected}")
                if self.scratch(first, second):
                    failures.append(f"{kind} {round}: left {self.scratch(first, second)}")
                key = " + ".join(sorted(tally))
                outcomes[(kind, key)] = outcomes.get((kind, key), 0) + 1
                shutil.rmtree(first), shutil.rmtree(second)
        killed = 0
        for round in range(rounds):
            first, second = self.folders(f"k{round}")
            merge = subprocess.Popen([self.tool, "merge", self.updates["a"], "--folder", first],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            # Killed while it writes the new file beside the real one, a moment later each round.
            while not self.scratch(second) and merge.poll() is None:
                time.sleep(0.005)
            time.sleep(random.uniform(0, 0.05))
            merge.send_signal(signal.SIGKILL)
            merge.wait()
            killed += bool(self.scratch(second))
            self.call("merge", self.updates["b"], "--folder", first)
            if self.scratch(first, second):
                failures.append(f"kill {round}: the next merge left {self.scratch(first, second)}")
            shutil.rmtree(first), shutil.rmtree(second)
        for (kind, key), n in sorted(outcomes.items()):
            print(f"{kind}: {n} rounds {key}")
        print(f"killed merges: {rounds} rounds, {killed} left a scratch file in the linked "
              f"file's folder, cleared by the next merge of the program folder: "
              f"{'yes' if not any(f.startswith('kill') for f in failures) else 'NO'}")
        for failure in failures:
            print("FAILED", failure)
        print("no row lost, every loser failed cleanly" if not failures else
              f"{len(failures)} failures")
        return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
