#!/usr/bin/env python3
"""Writes the manual page of a program from its own --help and --version.

The page is made from the text the program prints, so the two never drift.
The help text's layout is read like this: a first block "Usage: ..." is the
synopsis; a line at the left margin that ends in ":" heads a section whose
indented lines are "term  description" items (deeper lines continue the
description); any other block is a paragraph.
"""
import argparse
import os
import subprocess
import sys


def escape(text):
    text = text.replace("\\", "\\e").replace("-", "\\-")
    text = text.replace("'", "\\(aq").replace("`", "\\(ga")
    return "\\&" + text if text.startswith((".", "\\(aq")) else text


def blocks(lines):
    block = []
    for line in lines:
        if line.strip():
            block.append(line.rstrip())
        elif block:
            yield block
            block = []
    if block:
        yield block


def items(lines):
    """Splits indented "term  description" lines into (term, [description lines])."""
    result = []
    for line in lines:
        stripped = line.lstrip()
        indent = len(line) - len(stripped)
        if result and indent > 2:
            result[-1][1].append(stripped)
            continue
        term, _, description = stripped.partition("  ")
        result.append((term, [description.strip()] if description.strip() else []))
    return result


def man_page(program, name, help_text, version, date):
    out = [
        f'.TH {program.upper()} 1 "{date}" "{escape(version)}" "User Commands"',
        ".SH NAME",
        f"{escape(program)} \\- {escape(name)}",
    ]
    described = False
    for block in blocks(help_text.splitlines()):
        first = block[0]
        if first.startswith("Usage:"):
            indent = len("Usage: ")
            out += [".SH SYNOPSIS", ".nf"]
            out += [escape(line[indent:] if i else first[indent:]) for i, line in enumerate(block)]
            out.append(".fi")
        elif not first[0].isspace() and first.endswith(":") and len(block) > 1:
            out.append(".SH " + escape(first[:-1].upper()))
            described = True
            for term, description in items(block[1:]):
                out += [".TP", f"\\fB{escape(term)}\\fR"] + [escape(d) for d in description]
        else:
            if not described:
                out.append(".SH DESCRIPTION")
                described = True
            out.append(".PP")
            out += [escape(line.strip()) for line in block]
    return "\n".join(out) + "\n"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("program", help="the built program")
    parser.add_argument("output", help="the manual page to write")
    parser.add_argument("--name", required=True, help="one-line description for NAME")
    parser.add_argument("--date", required=True, help="the release date, YYYY-MM-DD")
    args = parser.parse_args()

    def run(option):
        return subprocess.run([args.program, option], check=True, capture_output=True,
                              encoding="utf-8").stdout

    page = man_page(os.path.basename(args.program), args.name, run("--help"),
                    run("--version").strip(), args.date)
    with open(args.output, "w", encoding="utf-8") as out:
        out.write(page)


if __name__ == "__main__":
    sys.exit(main())
