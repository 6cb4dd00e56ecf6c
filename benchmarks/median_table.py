#!/usr/bin/env python3
"""Runs a QBENCHMARK binary and prints one line per benchmark: its median time per call.

    benchmarks/median_table.py build/benchmarks/bench_pages            (5 runs each)
    benchmarks/median_table.py build/benchmarks/bench_pages --runs 11 threePhaseExample

Arguments after the binary and --runs go to it unchanged (test function names, -tickcounter...).
The binary runs under the offscreen platform; QtTest takes the median of the runs itself.
"""
import argparse
import csv
import os
import subprocess
import sys
import tempfile


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("binary")
    parser.add_argument("--runs", type=int, default=5, help="runs whose median is taken")
    args, rest = parser.parse_known_args()

    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "results.csv")
        subprocess.run([os.path.abspath(args.binary), "-median", str(args.runs),
                        "-o", out + ",csv"] + rest,
                       env=env, cwd=os.path.dirname(os.path.abspath(args.binary)), check=False)
        rows = []
        with open(out, newline="") as f:
            for record in csv.reader(f):
                # function, data tag, metric, value per iteration, total, iterations
                if len(record) < 4:
                    continue
                try:
                    value = float(record[3])
                except ValueError:
                    continue  # a header line
                rows.append((record[0], record[1], record[2], value))

    if not rows:
        sys.exit("no benchmark results")
    width = max(len(f"{name} {tag}".strip()) for name, tag, _, _ in rows)
    print(f"{'benchmark':<{width}}  median")
    for name, tag, metric, value in rows:
        unit = "ms" if metric == "WalltimeMilliseconds" else metric
        print(f"{f'{name} {tag}'.strip():<{width}}  {value:9.3f} {unit}")


if __name__ == "__main__":
    main()
