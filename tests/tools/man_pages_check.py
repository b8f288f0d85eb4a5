#!/usr/bin/env python3
"""The man pages as man shows them: every command and option in an entry of its own.

Renders each page with groff (as man -l does), lines wide enough that no
entry's name wraps, and finds its entries: a line
that starts with the entry's name and is followed by text indented deeper.
Every command that kestrel-book --help lists must be such an entry under
COMMANDS, and every option that a command's usage line names must be one
within its command's entry; every option of kestrel --help likewise.
Usage: man_pages_check.py DOCS_FOLDER KESTREL_BOOK
"""
import re
import subprocess
import sys

docs, tool = sys.argv[1], sys.argv[2]


def render(page):
    done = subprocess.run(
        ["groff", "-t", "-man", "-Tutf8", "-P-cbou", "-rLL=250n", f"{docs}/{page}"],
        capture_output=True, check=True, env={"LANG": "C.UTF-8", "PATH": "/usr/bin:/bin"})
    # Hyphens and minus signs as the ASCII hyphen a user types.
    return done.stdout.decode("utf-8").replace("\u2010", "-").replace("\u2212", "-").splitlines()


def indent(line):
    return len(line) - len(line.lstrip(" "))


def entries(lines):
    """(line number, indent, first word) of each line that starts an entry:
    its text goes on below it indented deeper, or on the same line from where
    an entry's text starts (seven columns in), after blanks."""
    found = []
    for i, line in enumerate(lines):
        if not line.strip():
            continue
        depth, word = indent(line), line.split()[0]
        after = next((l for l in lines[i + 1:] if l.strip()), "")
        body = line[depth + len(word):depth + 7]
        same_line = len(line) > depth + 7 and body.strip() == "" and body != "" \
            and line[depth + 7] != " "
        if indent(after) > depth or same_line:
            found.append((i, depth, word))
    return found


def section(lines, title):
    start = lines.index(title)
    end = next((i for i in range(start + 1, len(lines)) if lines[i] and not lines[i][0].isspace()),
               len(lines))
    return lines[start + 1:end]


def usage_options(usage):
    return sorted(set(re.findall(r"(?<![\w-])(--?[a-z][a-z0-9-]*)", usage)) - {"-"})


def main():
    failures = []
    book = render("kestrel-book.1")
    commands = section(book, "COMMANDS")
    tops = [(i, word) for i, depth, word in entries(commands) if depth == 7]
    help_text = subprocess.run([tool, "--help"], capture_output=True, check=True).stdout.decode()
    names = re.findall(r"^  ([a-z]+)\b", help_text.split("commands:")[1], re.M)
    for name in names:
        where = [k for k, (i, word) in enumerate(tops) if word == name]
        if len(where) != 1:
            failures.append(f"kestrel-book.1: command {name}: {len(where)} entries under COMMANDS")
            continue
        k = where[0]
        first = tops[k][0]
        last = tops[k + 1][0] if k + 1 < len(tops) else len(commands)
        inner = {word for i, depth, word in entries(commands[first:last]) if depth > 7}
        usage = subprocess.run([tool, name, "--help"], capture_output=True,
                               check=True).stdout.decode().split("\n\n")[0]
        options = [o for o in usage_options(usage) if o not in ("-f", "--file", "--help")]
        for option in options:
            if option not in inner and not any(w.startswith(option + ",") for w in inner):
                failures.append(f"kestrel-book.1: {name} {option}: no entry of its own")
    global_entries = {word.rstrip(",") for i, depth, word in entries(section(book, "OPTIONS"))}
    for option in ("-f", "--help", "--version"):
        if option not in global_entries:
            failures.append(f"kestrel-book.1: OPTIONS {option}: no entry of its own")
    program = render("kestrel.1")
    program_entries = {word for i, depth, word in entries(section(program, "OPTIONS"))}
    for option in ("--help", "--version"):
        if option not in program_entries:
            failures.append(f"kestrel.1: OPTIONS {option}: no entry of its own")
    if failures:
        print("\n".join(failures))
        return 1
    print(f"every command ({len(names)}) and option has an entry of its own")
    return 0


sys.exit(main())
