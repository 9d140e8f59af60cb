#!/usr/bin/env python3
"""The path segments a PDF file's pages draw: prints the pages counted, the
largest count on one page and that page's number. A segment is a path
operator (m, l, c, v, y, re) in the page's content, forms drawn by it
counted at each use. Reads the file as `qpdf --qdf` writes it out, with
every stream uncompressed; of a long job only the first N pages (a sheet of
cards repeats its design on every page).

    pdf_page_segments.py FILE.pdf [N]
"""
import re
import subprocess
import sys
import tempfile

OPERATORS = {b"m", b"l", b"c", b"v", b"y", b"re"}
OBJECT = re.compile(rb"^(\d+) 0 obj\n(.*?)\nendobj", re.S | re.M)
REF = re.compile(rb"(\d+) 0 R")


def objects(data):
    found = {}
    for match in OBJECT.finditer(data):
        body = match.group(2)
        head, _, rest = body.partition(b"\nstream\n")
        stream = rest.rpartition(b"endstream")[0] if rest else b""
        found[int(match.group(1))] = (head, stream)
    return found


def entry(head, key):
    """The value of /key in a dictionary: a reference or a << >> dictionary."""
    at = head.find(b"/" + key)
    if at < 0:
        return b""
    rest = head[at + len(key) + 1:].lstrip()
    if rest.startswith(b"<<"):
        depth, i = 0, 0
        while i < len(rest):
            if rest.startswith(b"<<", i):
                depth += 1
                i += 2
            elif rest.startswith(b">>", i):
                depth -= 1
                i += 2
                if depth == 0:
                    return rest[:i]
            else:
                i += 1
        return rest
    if rest.startswith(b"["):
        return rest[: rest.find(b"]") + 1]
    match = re.match(rb"(\d+) 0 R", rest)
    return match.group(0) if match else b""


def resolve(found, value):
    match = re.fullmatch(rb"(\d+) 0 R", value.strip())
    return found.get(int(match.group(1)), (b"", b""))[0] if match else value


def forms_of(found, head):
    """The forms a page or form may draw, by resource name."""
    xobjects = resolve(found, entry(resolve(found, entry(head, b"Resources")), b"XObject"))
    return {name: int(number) for name, number in re.findall(rb"/([^\s/<>\[\]]+)\s+(\d+) 0 R", xobjects)}


def count(found, head, streams, memo, depth=0):
    forms = forms_of(found, head)
    total = 0
    for stream in streams:
        words = re.sub(rb"\((?:\\.|[^\\)])*\)", b" ", stream).split()
        for i, word in enumerate(words):
            if word in OPERATORS:
                total += 1
            elif word == b"Do" and i > 0 and depth < 8:
                number = forms.get(words[i - 1].lstrip(b"/"))
                if number is None or number not in found:
                    continue
                if number not in memo:
                    form_head, form_stream = found[number]
                    memo[number] = count(found, form_head, [form_stream], memo, depth + 1) \
                        if b"/Form" in form_head else 0
                total += memo[number]
    return total


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    pages = []
    if len(sys.argv) == 3:
        total = subprocess.run(["qpdf", "--show-npages", sys.argv[1]], check=True, capture_output=True, text=True)
        pages = ["--pages", sys.argv[1], "1-%d" % min(int(sys.argv[2]), int(total.stdout)), "--"]
    with tempfile.NamedTemporaryFile(suffix=".pdf") as qdf:
        subprocess.run(["qpdf", "--qdf", "--object-streams=disable", sys.argv[1], *pages, qdf.name], check=True)
        data = open(qdf.name, "rb").read()
    found = objects(data)
    memo = {}
    pages = []
    for number in sorted(found):
        head, _ = found[number]
        if not re.search(rb"/Type\s*/Page\b(?!s)", head):
            continue
        contents = entry(head, b"Contents")
        streams = [found.get(int(n), (b"", b""))[1] for n in REF.findall(contents)]
        pages.append(count(found, head, streams, memo))
    if not pages:
        sys.exit("no pages in " + sys.argv[1])
    most = max(pages)
    print(len(pages), most, pages.index(most) + 1)


if __name__ == "__main__":
    main()
