#!/usr/bin/env python3
"""Writes a spelling dictionary for a word list (one ASCII word a line),
independently of the program, so the tests can compare the bytes.

usage: encode_dic.py WORDLIST OUT.dic
"""
import struct
import sys

ALPHABET = "abcdefghijklmnopqrstuvwxyz.-' "


def pack(text):
    bits = 0
    for i, ch in enumerate(text):
        bits |= ALPHABET.index(ch) << (5 * i)
    return bytes([len(text)]) + bits.to_bytes((5 * len(text) + 7) // 8, "little")


def main(source, target):
    buckets = [set() for _ in range(26 * 30 + 1)]
    with open(source, encoding="utf-8", errors="replace") as f:
        for line in f:
            word = line.rstrip("\r\n").lower()
            if not word or not word[0].isascii() or not word[0].isalpha():
                continue
            if any(ch not in ALPHABET for ch in word):
                continue
            if len(word) < 3:
                buckets[26 * 30].add(word)
            else:
                buckets[(ord(word[0]) - 97) * 30 + ALPHABET.index(word[1])].add(word[2:])
    out = bytearray()
    for texts in buckets:
        ordered = sorted(texts, key=lambda t: [ALPHABET.index(ch) for ch in t])
        body = struct.pack("<H", len(ordered)) + b"".join(pack(t) for t in ordered)
        if len(body) < 3:
            body = b""
        out += struct.pack("<I", len(body)) + body
    with open(target, "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2])
