#!/usr/bin/env python3
"""Every source file that a unity build compiles in a batch compiles on its
own too, as the build without unity (-DTW_UNITY=OFF) compiles it. In a
batch a file sees the includes of the files before it, so one that uses a
name without including its header builds with unity and fails without.

For each file of a batch but the first (nothing comes before the first but
the precompiled headers, as when it is compiled alone), the batch's own
command from the build folder's compile_commands.json is run on that file
with -fsyntax-only: the same options (less the warning that only batches
turn off) and the same precompiled headers, which the build has made, and
no object written. The files compiled outside batches are compiled alone by
the build itself.

usage: check_files_alone.py BUILD_FOLDER [JOBS]

Prints the compiler's errors for each file that does not compile alone and
ends with exit 1 naming them; exit 0 when every file does.
"""
import concurrent.futures
import json
import os
import re
import shlex
import subprocess
import sys

INCLUDE_LINE = re.compile(r'^#include "(.+)"\s*$')


def batch_files(unity_source):
    """The source files a unity batch includes, in its order."""
    with open(unity_source, encoding="utf-8") as batch:
        return [m.group(1) for m in map(INCLUDE_LINE.match, batch) if m]


def alone_command(batch_command, source):
    """The batch's command turned into a syntax check of one of its files.
    The warning that only batches silence is left on, as without unity."""
    args = [arg for arg in shlex.split(batch_command) if arg != "-Wno-subobject-linkage"]
    if "-o" in args:
        at = args.index("-o")
        del args[at:at + 2]
    at = args.index("-c")
    args[at + 1] = source
    return args + ["-fsyntax-only"]


def checks(build):
    """(folder, command, source) for every file of a batch but the first."""
    with open(os.path.join(build, "compile_commands.json"), encoding="utf-8") as entries:
        for entry in json.load(entries):
            if not re.search(r"/Unity/unity_[^/]*\.cxx$", entry["file"]):
                continue
            for source in batch_files(entry["file"])[1:]:
                yield entry["directory"], alone_command(entry["command"], source), source


def compile_alone(check):
    folder, command, source = check
    result = subprocess.run(command, cwd=folder, capture_output=True, text=True)
    return source, result.returncode, result.stdout + result.stderr


def main():
    if len(sys.argv) not in (2, 3):
        print("usage: check_files_alone.py BUILD_FOLDER [JOBS]", file=sys.stderr)
        return 2
    build = sys.argv[1]
    jobs = int(sys.argv[2]) if len(sys.argv) == 3 else os.cpu_count()
    work = list(checks(build))
    failed = []
    with concurrent.futures.ThreadPoolExecutor(max_workers=jobs) as pool:
        for source, status, output in pool.map(compile_alone, work):
            if status != 0:
                failed.append(source)
                print(output, end="", flush=True)
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    for source in failed:
        print(f"does not compile alone: {os.path.relpath(source, root)}")
    print(f"{len(work) - len(failed)} of {len(work)} files of unity batches compile alone")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
