#!/usr/bin/env python3
"""Times two shell commands run in turn (A B A B ...) after one warm-up run
of each, and prints each one's median wall time and rate for SIZE bytes,
and the ratio of the rates, pair by pair.

    time_runs.py RUNS SIZE 'COMMAND A' 'COMMAND B'
"""

import statistics
import subprocess
import sys
import time


def timed(command):
    start = time.perf_counter()
    done = subprocess.run(command, shell=True, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL)
    seconds = time.perf_counter() - start
    if done.returncode != 0:
        sys.exit('failed (exit %d): %s' % (done.returncode, command))
    return seconds


def main(runs, size, command_a, command_b):
    timed(command_a)
    timed(command_b)
    pairs = [(timed(command_a), timed(command_b)) for _ in range(runs)]
    mib = size / (1024 * 1024)
    for label, times in (('A', [a for a, _ in pairs]), ('B', [b for _, b in pairs])):
        print('%s: median %.3f s (min %.3f, max %.3f) = %.1f MiB/s'
              % (label, statistics.median(times), min(times), max(times),
                 mib / statistics.median(times)))
    ratios = [b / a for a, b in pairs]  # rate A / rate B = time B / time A
    print('rate A / rate B: median %.2f (min %.2f, max %.2f) over %d pairs'
          % (statistics.median(ratios), min(ratios), max(ratios), runs))


if __name__ == '__main__':
    main(int(sys.argv[1]), int(sys.argv[2]), sys.argv[3], sys.argv[4])
