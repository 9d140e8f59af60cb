#!/usr/bin/env python3
"""Refuses an include that runs up the layers.

Reads the layer table (cmake/Layers.cmake: each tessaline_layer() line
names a folder, whether it may show a window (WINDOWS) and the folders
below it that its library links, from the ground up) and every #include "folder/..." of the system's folders. An
include of a folder declared later in the table reaches a layer above its
own; an include of a folder the library doesn't link is not in its build
graph. A widget header (one of Qt Widgets') included in a layer the table
doesn't mark WINDOWS would put the window system under a layer that may
not show one. Each is printed with the file and the include, and the
check exits 1.

    tools/check_layers.py [ROOT]
"""

import glob
import os
import re
import subprocess
import sys

LAYER = re.compile(r"^tessaline_layer\((\w+)([^)]*)\)", re.M)
INCLUDE = re.compile(r'^\s*#\s*include\s*"([a-z_]+)/([^"]+)"')
SYSTEM_INCLUDE = re.compile(r"^\s*#\s*include\s*<([^>]+)>")
KEYWORDS = ("WINDOWS", "DEPENDS", "USES")


def parse_layer(args):
    """The flags, the folders linked and the libraries used of one entry."""
    flags, deps, section = set(), [], None
    for word in args.split():
        if word in KEYWORDS:
            if word == "WINDOWS":
                flags.add(word)
            section = word
        elif section == "DEPENDS":
            deps.append(word)
    return flags, deps


def widget_headers():
    """The header names Qt Widgets installs (QMenu, QFileDialog, ...)."""
    roots = []
    for query in (["qtpaths6", "--query", "QT_INSTALL_HEADERS"], ["qmake6", "-query", "QT_INSTALL_HEADERS"]):
        try:
            out = subprocess.run(query, capture_output=True, text=True, check=False).stdout.strip()
        except OSError:
            continue
        if out:
            roots.append(out)
    roots += glob.glob("/usr/include/*/qt6") + ["/usr/include/qt6"]
    for root in roots:
        folder = os.path.join(root, "QtWidgets")
        if os.path.isdir(folder):
            return {name for name in os.listdir(folder) if not name.endswith(".h")}
    sys.exit("check_layers.py: the Qt Widgets headers are not installed; cannot tell widget includes")


def widget_include(line, widgets):
    """The widget header a line includes, or None."""
    m = SYSTEM_INCLUDE.match(line)
    if not m:
        return None
    name = m.group(1)
    if name == "QtWidgets" or name.startswith("QtWidgets/"):
        return name
    return name if name in widgets else None


def read_table(root):
    path = os.path.join(root, "cmake", "Layers.cmake")
    with open(path, encoding="utf-8") as f:
        text = f.read()
    order, links, windows = [], {}, set()
    for m in LAYER.finditer(text):
        folder = m.group(1)
        flags, deps = parse_layer(m.group(2))
        if "WINDOWS" in flags:
            windows.add(folder)
        for dep in deps:
            if dep not in links:
                sys.exit(f"{path}: {folder} links {dep}, which is not declared below it")
        order.append(folder)
        links[folder] = set(deps)
    if not order:
        sys.exit(f"{path}: no layers declared")
    return order, links, windows


def check(root):
    order, links, windows = read_table(root)
    widgets = widget_headers()
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
                        widget = widget_include(line, widgets)
                        if widget and folder not in windows:
                            faults.append(f"{rel}:{number}: includes <{widget}>, a widget header, "
                                          f"but {folder} may not show a window")
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
