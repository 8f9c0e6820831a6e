#!/usr/bin/env python3
"""Reads binary property lists with Python's plistlib and compares each with the value expected of
it, given in a typed JSON form. Usage: plist_check.py CASES.json; prints each difference, exits 1
if there is one."""
import datetime
import json
import plistlib
import struct
import sys

EPOCH = datetime.datetime(2001, 1, 1)


def same(got, want, where):
    kind, v = next(iter(want.items()))
    if kind == "b":
        ok = isinstance(got, bool) and got == v
    elif kind == "i":
        ok = isinstance(got, int) and not isinstance(got, bool) and got == int(v)
    elif kind == "r":
        ok = isinstance(got, float) and struct.pack(">d", got).hex() == v
    elif kind == "d":
        want_s = struct.unpack(">d", bytes.fromhex(v))[0]
        ok = isinstance(got, datetime.datetime) and \
            abs((got - EPOCH).total_seconds() - want_s) < 2e-6
    elif kind == "x":
        ok = isinstance(got, bytes) and got.hex() == v
    elif kind == "u":
        ok = isinstance(got, plistlib.UID) and got.data == int(v)
    elif kind == "s":
        ok = isinstance(got, str) and got == v
    elif kind == "a":
        ok = isinstance(got, list) and len(got) == len(v)
        if ok:
            return all([same(g, w, f"{where}[{i}]") for i, (g, w) in enumerate(zip(got, v))])
    elif kind == "o":
        ok = isinstance(got, dict) and sorted(got) == sorted(k for k, _ in v)
        if ok:
            return all([same(got[k], w, f"{where}.{k!r}") for k, w in v])
    else:
        ok = False
    if not ok:
        print(f"{where}: read {got!r}, expected {want!r}")
    return ok


def main():
    with open(sys.argv[1], encoding="utf-8") as f:
        cases = json.load(f)
    good = True
    for case in cases:
        with open(case["file"], "rb") as f:
            got = plistlib.loads(f.read(), fmt=plistlib.FMT_BINARY)
        good = same(got, case["expected"], case["file"]) and good
    sys.exit(0 if good else 1)


main()
