#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Every file of the source tree says under which licence it stands: sources, scripts and
build files in an SPDX line of their own, everything else through REUSE.toml.

    tst_licence.py <source folder>
"""

import fnmatch
import os
import subprocess
import sys
import tomllib

SPDX = "SPDX-License-Identifier:"
COMMENTED = (".cpp", ".h", ".py", ".sh", ".cmake", ".in")


def tracked_files(top):
    try:
        out = subprocess.run(["git", "-C", top, "ls-files", "-z"], check=True,
                             capture_output=True).stdout
        return [name for name in out.decode().split("\0") if name]
    except (OSError, subprocess.CalledProcessError):
        found = []
        for folder, dirs, names in os.walk(top):
            dirs[:] = [d for d in dirs if d not in (".git", "build")]
            found += [os.path.relpath(os.path.join(folder, n), top) for n in names]
        return found


def needs_own_line(name):
    base = os.path.basename(name)
    if base == "CMakeLists.txt" or name.startswith(("scripts/", ".ci/")):
        return True
    return name.endswith(COMMENTED) and not name.startswith("assets/desktop/")


def covered(name, patterns):
    for pattern in patterns:
        # "**/" may stand for no folder at all.
        if fnmatch.fnmatchcase(name, pattern) or \
                fnmatch.fnmatchcase(name, pattern.replace("**/", "")):
            return True
    return False


def main():
    if len(sys.argv) != 2:
        print("usage: tst_licence.py <source folder>", file=sys.stderr)
        return 2
    top = sys.argv[1]
    with open(os.path.join(top, "REUSE.toml"), "rb") as reuse:
        annotations = tomllib.load(reuse).get("annotations", [])
    patterns = []
    for annotation in annotations:
        if annotation.get("SPDX-License-Identifier") and annotation.get("SPDX-FileCopyrightText"):
            paths = annotation["path"]
            patterns += [paths] if isinstance(paths, str) else paths

    failures = []
    files = tracked_files(top)
    for name in files:
        if name == "LICENSE":
            continue
        path = os.path.join(top, name)
        if needs_own_line(name):
            with open(path, "rb") as source:
                head = source.read(1024).decode("utf-8", "replace").splitlines()[:5]
            if not any(SPDX in line for line in head):
                failures.append(f"{name}: no {SPDX} line at the top")
        else:
            with open(path, "rb") as other:
                head = other.read(1024).decode("utf-8", "replace")
            if SPDX not in head and not covered(name, patterns):
                failures.append(f"{name}: neither an SPDX line nor an entry in REUSE.toml")

    for failure in failures:
        print("FAIL:", failure)
    print(f"{len(files)} files checked, {len(failures)} without a licence")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
