#!/usr/bin/env python3
"""Refuses a call a signal handler may not make.

The files named hold the program's signal handlers and only what they call.
Each is compiled on its own (as the build does, optimised) and every
function its object calls outside itself must be one POSIX lists as safe in
a signal handler: printf, malloc, a lock, a Qt call or anything else is
printed with the file, and the check exits 1.

    tools/check_signal_safety.py [--compiler CXX] [--root ROOT] FILE...
"""

import argparse
import os
import subprocess
import sys
import tempfile

# POSIX's list of functions safe in a handler, the ones these files may
# want, and what the compiler itself calls (errno's place, the stack
# guard).
SAFE = {
    "_exit", "abort", "alarm", "close", "fsync", "getpid", "kill", "open", "pipe", "raise", "read",
    "sigaction", "sigaddset", "sigdelset", "sigemptyset", "sigfillset", "sigismember", "signal",
    "sigprocmask", "pthread_sigmask", "write",
    "__errno_location", "__stack_chk_fail",
}


def called(compiler, root, path):
    """The functions the compiled file calls outside itself."""
    with tempfile.TemporaryDirectory() as scratch:
        obj = os.path.join(scratch, "handlers.o")
        subprocess.run([compiler, "-std=c++20", "-O2", "-fno-exceptions", "-I", root, "-c", path, "-o", obj],
                       check=True)
        out = subprocess.run(["nm", "--undefined-only", "--format=posix", obj], check=True,
                             capture_output=True, text=True).stdout
    names = set()
    for line in out.splitlines():
        name = line.split()[0]
        # A versioned glibc name ("write@GLIBC_2.2.5") is the function.
        names.add(name.split("@")[0])
    return names


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--compiler", default=os.environ.get("CXX", "c++"))
    parser.add_argument("--root", default=os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
    parser.add_argument("files", nargs="+")
    args = parser.parse_args()
    bad = 0
    for path in args.files:
        for name in sorted(called(args.compiler, args.root, path) - SAFE):
            print(f"{path}: uses {name}, which is not safe in a signal handler")
            bad += 1
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
