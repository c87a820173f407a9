#!/usr/bin/env python3
"""Where no power cut can be simulated (no FUSE), the order of the system calls proves the same:
runs one installation pass under strace and checks that every file the pass put in place in the
game folder was flushed, and its folder flushed, after it was put in place and before the
container that installed it was deleted. A flush of the whole file system (syncfs) called on a
folder flushes every file and folder below it.

    check_flush_order.py CORE_TESTS

Exits 77 (skipped) when strace cannot trace here."""
import os
import re
import subprocess
import sys
import tempfile

PASS_TEST = "InstallPass.ThreeContainersOnAPlainDisk"
CALLS = "fsync,fdatasync,syncfs,rename,renameat,renameat2,unlink,unlinkat"
LINE = re.compile(r'^(\d+) +(\w+)\((.*)\) += (-?\d+)')
# A call that another thread's call interrupted in the trace: its start, then its end.
UNFINISHED = re.compile(r'^(\d+) +(\w+)\((.*) <unfinished \.\.\.>$')
RESUMED = re.compile(r'^(\d+) +<\.\.\. (\w+) resumed>.*\) += (-?\d+)')
QUOTED = re.compile(r'"((?:[^"\\]|\\.)*)"')
ANNOTATED_FD = re.compile(r'^\d+<(.*)>')


def trace(core_tests, log):
    run = subprocess.run(["strace", "-f", "-y", "-qq", "-e", "trace=" + CALLS, "-o", log,
                          core_tests, "--gtest_filter=" + PASS_TEST],
                         stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True)
    if run.returncode != 0:
        if "ptrace" in run.stdout or "Operation not permitted" in run.stdout:
            print("strace cannot trace here:\n" + run.stdout)
            sys.exit(77)
        print(run.stdout)
        sys.exit("the traced pass failed")
    if "[  PASSED  ] 1 test" not in run.stdout:
        print(run.stdout)
        sys.exit("the traced pass did not run " + PASS_TEST)


def events(log):
    """(call, paths, result) in the order the calls returned."""
    started = {}  # thread -> arguments of its unfinished call
    with open(log, encoding="utf-8", errors="replace") as lines:
        for line in lines:
            line = line.rstrip("\n")
            unfinished = UNFINISHED.match(line)
            if unfinished:
                started[unfinished.group(1)] = unfinished.group(3)
                continue
            resumed = RESUMED.match(line)
            match = LINE.match(line)
            if resumed:
                thread, call, result = resumed.group(1), resumed.group(2), int(resumed.group(3))
                args = started.pop(thread, "")
            elif match:
                call, args = match.group(2), match.group(3)
                result = int(match.group(4))
            else:
                continue
            if call in ("fsync", "fdatasync", "syncfs"):
                fd = ANNOTATED_FD.match(args)
                yield call, [fd.group(1)] if fd else [], result
            else:
                yield call, QUOTED.findall(args), result


def main():
    core_tests = sys.argv[1]
    with tempfile.TemporaryDirectory() as work:
        log = os.path.join(work, "trace")
        trace(core_tests, log)
        flushed = set()   # paths flushed since they were last put in place
        pending = {}      # path put in place -> its folder, waiting for both flushes
        deletions = 0
        problems = []
        for call, paths, result in events(log):
            if result < 0 or not paths:
                continue
            if call.startswith("rename"):
                target = paths[-1]
                if "/game/" in target and "/MorvoTMP" not in target:
                    pending[target] = os.path.dirname(target)
                    flushed.discard(target)
                    flushed.discard(os.path.dirname(target))
            elif call in ("fsync", "fdatasync"):
                flushed.add(paths[0].rstrip("/"))
            elif call == "syncfs":
                below = paths[0].rstrip("/") + "/"
                for path, folder in pending.items():
                    if path.startswith(below):
                        flushed.update((path, folder))
            elif call.startswith("unlink"):
                name = os.path.basename(paths[-1])
                if name.startswith("MorvoTMP") and name.endswith(".pak"):
                    deletions += 1
                    for path, folder in pending.items():
                        if path not in flushed:
                            problems.append(f"{path} not flushed before {name} was deleted")
                        if folder not in flushed:
                            problems.append(f"{folder} not flushed before {name} was deleted")
                    pending.clear()
        if deletions == 0:
            sys.exit("the trace shows no container deleted: nothing was checked")
        for problem in problems:
            print(problem)
        print(f"{deletions} container deletions checked, {len(problems)} problems")
        return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
