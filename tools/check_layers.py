#!/usr/bin/env python3
"""Refuses an include that runs up the layers.

Reads the layer table (cmake/Layers.cmake: each tessaline_layer() line
names a folder and the folders below it that its library links, from the
ground up) and every #include "folder/..." of the system's folders. An
include of a folder declared later in the table reaches a layer above its
own; an include of a folder the library doesn't link is not in its build
graph. Either is printed with the file and the include, and the check
exits 1.

    tools/check_layers.py [ROOT]
"""

import os
import re
import sys

LAYER = re.compile(r"^tessaline_layer\((\w+)([^)]*)\)", re.M)
INCLUDE = re.compile(r'^\s*#\s*include\s*"([a-z_]+)/([^"]+)"')


def read_table(root):
    path = os.path.join(root, "cmake", "Layers.cmake")
    with open(path, encoding="utf-8") as f:
        text = f.read()
    order, links = [], {}
    for m in LAYER.finditer(text):
        folder = m.group(1)
        deps = m.group(2).replace("DEPENDS", " ").split()
        for dep in deps:
            if dep not in links:
                sys.exit(f"{path}: {folder} links {dep}, which is not declared below it")
        order.append(folder)
        links[folder] = set(deps)
    if not order:
        sys.exit(f"{path}: no layers declared")
    return order, links


def check(root):
    order, links = read_table(root)
    rank = {folder: i for i, folder in enumerate(order)}
    faults = []
    for folder in order:
        base = os.path.join(root, folder)
        for dirpath, _, names in os.walk(base):
            for name in sorted(names):
                if not name.endswith((".h", ".cpp")):
                    continue
                path = os.path.join(dirpath, name)
                rel = os.path.relpath(path, root)
                with open(path, encoding="utf-8", errors="replace") as f:
                    for number, line in enumerate(f, 1):
                        m = INCLUDE.match(line)
                        if not m or m.group(1) == folder or m.group(1) not in rank:
                            continue
                        target = m.group(1)
                        include = f"{target}/{m.group(2)}"
                        if rank[target] > rank[folder]:
                            faults.append(f"{rel}:{number}: includes {include}, a layer above {folder}")
                        elif target not in links[folder]:
                            faults.append(f"{rel}:{number}: includes {include}, but {folder} doesn't link {target}")
    return faults


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
    faults = check(root)
    for fault in faults:
        print(fault)
    if faults:
        print(f"{len(faults)} include(s) break the layers")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
