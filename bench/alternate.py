#!/usr/bin/env python3
"""Times whole commands side by side, alternating them run by run so that a change in the
machine's load falls on all of them alike; output goes to /dev/null. Prints each command's median
and fastest wall time, its median processor time (user + system), and its median against the
first command's.

    bench/alternate.py RUNS COMMAND [;; COMMAND ...]
"""

import os
import resource
import statistics
import subprocess
import sys
import time


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    runs = int(sys.argv[1])
    commands = [words.split() for words in " ".join(sys.argv[2:]).split(" ;; ")]
    wall = [[] for _ in commands]
    cpu = [[] for _ in commands]
    with open(os.devnull, "wb") as null:
        for run in range(runs + 1):  # the first round only warms the page cache
            for i, words in enumerate(commands):
                before = resource.getrusage(resource.RUSAGE_CHILDREN)
                start = time.perf_counter()
                subprocess.run(words, stdout=null, stderr=subprocess.DEVNULL)
                elapsed = time.perf_counter() - start
                after = resource.getrusage(resource.RUSAGE_CHILDREN)
                if run:
                    wall[i].append(elapsed * 1000)
                    cpu[i].append((after.ru_utime - before.ru_utime + after.ru_stime -
                                   before.ru_stime) * 1000)
    first = statistics.median(wall[0])
    for i, words in enumerate(commands):
        median = statistics.median(wall[i])
        print(f"{median:8.1f} ms median, {min(wall[i]):8.1f} fastest, "
              f"{statistics.median(cpu[i]):8.1f} ms processor, {median / first:6.2f}x the first: "
              f"{' '.join(os.path.basename(w) if w.startswith('/') else w for w in words)}")


if __name__ == "__main__":
    main()
