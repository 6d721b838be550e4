#!/usr/bin/env python3
"""Time gearrecords.Gear.nominal() in Python against the same C++ calls, in one run.

    cmake --preset release && cmake --build --preset release --target gearrecords_bench gearrecords_python -j2
    python3 bench/python_nominal_bench.py

Runs the Google Benchmark NominalValues of gearrecords_bench (median of its repetitions) and, in this process,
times Gear.nominal() on the same example files with timeit (median of the same number of repetitions), then
prints both and their ratio. Both sides count CPU time of the process, so that other load on the machine does
not tilt the ratio.
"""

import argparse
import json
import pathlib
import statistics
import subprocess
import sys
import time
import timeit

ROOT = pathlib.Path(__file__).resolve().parents[1]


def cpp_times(bench, repetitions):
    """Median CPU time in ns per example file, from the benchmark's JSON output."""
    result = subprocess.run(
        [str(bench), "--benchmark_filter=^NominalValues/", f"--benchmark_repetitions={repetitions}",
         "--benchmark_report_aggregates_only=true", "--benchmark_format=json"],
        capture_output=True, text=True, check=True)
    times = {}
    for row in json.loads(result.stdout)["benchmarks"]:
        if row.get("aggregate_name") == "median":
            assert row["time_unit"] == "ns"
            times[row["run_name"].split("/", 1)[1]] = row["cpu_time"]
    return times


def python_time(gearrecords, example, repetitions):
    """Median CPU time in ns of one Gear.nominal() call."""
    timer = timeit.Timer(gearrecords.Gear(ROOT / "examples" / f"{example}.xml").nominal, timer=time.process_time)
    number = max(1, timer.autorange()[0])
    return statistics.median(timer.repeat(number=number, repeat=repetitions)) / number * 1e9


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=str(ROOT / "build" / "release"), help="a Release build folder")
    parser.add_argument("--repetitions", type=int, default=5)
    args = parser.parse_args()
    build = pathlib.Path(args.build)
    sys.path.insert(0, str(build / "python"))
    import gearrecords

    cpp = cpp_times(build / "bench" / "gearrecords_bench", args.repetitions)
    print(f"{'example':<20}{'C++ ns':>10}{'Python ns':>12}{'ratio':>8}   (CPU time, medians of {args.repetitions})")
    ratios = []
    for example, cpp_ns in cpp.items():
        python_ns = python_time(gearrecords, example, args.repetitions)
        ratios.append(python_ns / cpp_ns)
        print(f"{example:<20}{cpp_ns:>10.0f}{python_ns:>12.0f}{ratios[-1]:>8.2f}")
    print(f"largest ratio {max(ratios):.2f}")
    return 0 if max(ratios) < 2 else 1


if __name__ == "__main__":
    sys.exit(main())
