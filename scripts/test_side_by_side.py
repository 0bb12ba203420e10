#!/usr/bin/env python3
"""Runs every test of a build beside a copy of itself: two copies at once, each with the command,
working folder and environment its CTest entry gives it, and says which pass.

A test that writes a fixed file name, listens on a fixed port or takes a fixed X display fails
here, because the other copy reads its half-written files or takes its port. Every test must
pass.

Usage: test_side_by_side.py [--build DIR] [--rounds N] [--busy N] [--jobs N] [-R REGEX]
  --build DIR  the build folder whose CTest entries are run (default: build)
  --rounds N   runs each pair N times (default 1)
  --busy N     keeps N processes spinning beside the tests, as a busy machine does (default 0)
  --jobs N     pairs of different tests run at the same time (default 1); a test that CTest runs
               alone (RUN_SERIAL) runs only beside its own copy, after the others
  -R REGEX     only the tests whose name matches REGEX; -E REGEX leaves those out
The exit code is 0 when every copy of every test passed.
"""

import argparse
import concurrent.futures
import json
import os
import re
import subprocess
import sys
import tempfile
import time


def ctest_entries(build):
    """(name, command, working folder, environment, timeout, alone) of every CTest entry of the
    build; alone: the entry asks to run with no other test beside it (RUN_SERIAL)."""
    shown = subprocess.run(["ctest", "--test-dir", build, "--show-only=json-v1"], check=True,
                           capture_output=True, text=True).stdout
    entries = []
    for test in json.loads(shown)["tests"]:
        properties = {p["name"]: p["value"] for p in test.get("properties", [])}
        env = dict(os.environ)
        for setting in properties.get("ENVIRONMENT", []):
            name, _, value = setting.partition("=")
            env[name] = value
        entries.append((test["name"], test["command"], properties.get("WORKING_DIRECTORY", build),
                        env, float(properties.get("TIMEOUT", 1500)),
                        bool(properties.get("RUN_SERIAL", False))))
    return entries


def run_copy(command, folder, env, timeout, log):
    """Runs one copy with its output into the log file; its exit code (-1 on timeout)."""
    with open(log, "wb") as out:
        process = subprocess.Popen(command, cwd=folder, env=env, stdout=out,
                                   stderr=subprocess.STDOUT, start_new_session=True)
        try:
            return process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, 9)
            process.wait()
            return -1


def run_pair(entry, round_number, logs):
    """Runs two copies of the entry at once; (name, round, [exit codes], seconds, log paths)."""
    name, command, folder, env, timeout, _ = entry
    paths = [os.path.join(logs, f"{name}.{round_number}.{copy}.log") for copy in (1, 2)]
    began = time.monotonic()
    with concurrent.futures.ThreadPoolExecutor(2) as pool:
        codes = list(pool.map(lambda log: run_copy(command, folder, env, timeout, log), paths))
    return name, round_number, codes, time.monotonic() - began, paths


def run_pairs(pairs, jobs, logs):
    """Runs the pairs, jobs at a time, then those of tests that run alone one by one; yields
    each result as run_pair gives it, in order."""
    shared = [pair for pair in pairs if not pair[0][5]]
    alone = [pair for pair in pairs if pair[0][5]]
    with concurrent.futures.ThreadPoolExecutor(max(1, jobs)) as pool:
        yield from pool.map(lambda pair: run_pair(pair[0], pair[1], logs), shared)
    for entry, round_number in alone:
        yield run_pair(entry, round_number, logs)


def tail(path, lines=25):
    with open(path, "rb") as text:
        return b"\n".join(text.read().splitlines()[-lines:]).decode(errors="replace")


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--build", default="build")
    parser.add_argument("--rounds", type=int, default=1)
    parser.add_argument("--busy", type=int, default=0)
    parser.add_argument("--jobs", type=int, default=1)
    parser.add_argument("-R", dest="include")
    parser.add_argument("-E", dest="exclude")
    args = parser.parse_args()

    entries = [e for e in ctest_entries(os.path.abspath(args.build))
               if (not args.include or re.search(args.include, e[0]))
               and not (args.exclude and re.search(args.exclude, e[0]))]
    if not entries:
        sys.exit("test_side_by_side: no test matches")
    busy = [subprocess.Popen(["yes"], stdout=subprocess.DEVNULL) for _ in range(args.busy)]
    failed = 0
    passed = {}
    try:
        with tempfile.TemporaryDirectory(prefix="kv_side_by_side_") as logs:
            pairs = [(entry, r) for r in range(1, args.rounds + 1) for entry in entries]
            for name, round_number, codes, seconds, paths in run_pairs(pairs, args.jobs, logs):
                good = sum(code == 0 for code in codes)
                passed[name] = passed.get(name, 0) + good
                print(f"{name}: round {round_number}: {good} of 2 copies passed "
                      f"({seconds:.1f} s)", flush=True)
                for code, path in zip(codes, paths):
                    if code != 0:
                        failed += 1
                        print(f"--- a copy of {name} ended with {code}; its last lines:\n"
                              f"{tail(path)}\n---", flush=True)
    finally:
        for process in busy:
            process.kill()
            process.wait()
    print(f"side by side: {len(entries)} tests, {args.rounds} rounds, busy {args.busy}: "
          + ", ".join(f"{name} {count}/{2 * args.rounds}" for name, count in passed.items()))
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
