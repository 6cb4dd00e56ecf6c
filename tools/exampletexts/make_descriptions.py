#!/usr/bin/env python3
"""Writes the example and tutorial descriptions that the program compiles in.

The texts are edited as plain UTF-8 files, tutorials/exampleDescriptions/source/<n>.txt for
n = 0..95. The program reads tutorials/exampleDescriptions/<n>.txt: UTF-16 little-endian with
a byte-order mark, lines separated by CR LF. This script converts every source into that
form and writes the resource list tutorials/examples.qrc.

    make_descriptions.py          write the resources
    make_descriptions.py --check  exit 1 when a resource differs from its source
"""
import pathlib
import sys

COUNT = 96
ROOT = pathlib.Path(__file__).resolve().parents[2]
TEXTS = ROOT / "tutorials" / "exampleDescriptions"
SOURCES = TEXTS / "source"
QRC = ROOT / "tutorials" / "examples.qrc"


def resource_bytes(source_text):
    lines = [line.rstrip() for line in source_text.replace("\r\n", "\n").split("\n")]
    while lines and not lines[-1]:
        lines.pop()
    if not lines:
        raise ValueError("empty description")
    return b"\xff\xfe" + "\r\n".join(lines).encode("utf-16-le")


def qrc_text():
    files = "".join(
        f"        <file>exampleDescriptions/{n}.txt</file>\n" for n in range(COUNT))
    return ("<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n"
            "    <qresource prefix=\"/tutorials\">\n" + files +
            "    </qresource>\n</RCC>\n")


def main(argv):
    check = "--check" in argv[1:]
    wanted = {QRC: qrc_text().encode("utf-8")}
    for n in range(COUNT):
        source = SOURCES / f"{n}.txt"
        try:
            wanted[TEXTS / f"{n}.txt"] = resource_bytes(source.read_text(encoding="utf-8"))
        except (OSError, ValueError) as error:
            print(f"{source}: {error}", file=sys.stderr)
            return 1
    stale = [path for path, data in wanted.items()
             if not path.exists() or path.read_bytes() != data]
    if check:
        for path in stale:
            print(f"out of date: {path.relative_to(ROOT)}", file=sys.stderr)
        return 1 if stale else 0
    for path in stale:
        path.write_bytes(wanted[path])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
