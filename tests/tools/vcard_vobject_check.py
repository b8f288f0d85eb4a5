#!/usr/bin/env python3
"""kestrel-book's vCards read by an independent parser (Debian's python3-vobject).

Every card of both versions (4.0 and 3.0) must parse, and its N, FN, TEL,
EMAIL, BDAY, ADR and X-KESTREL- properties must say what the CSV export of the
same book says. The 3.0 cards, written again by vobject, must import into the
records they came from.
Usage: vcard_vobject_check.py KESTREL_BOOK SAMPLE_BOOK. Exit 77 (skipped)
when vobject is not installed.
"""
import csv
import io
import os
import subprocess
import sys
import tempfile

try:
    import vobject
except ImportError:
    print("python3-vobject is not installed: skipped")
    sys.exit(77)

tool, sample = sys.argv[1], sys.argv[2]
# KESTREL_RUN, when set, launches the tool (wine-run for the Windows build).
launcher = [os.environ["KESTREL_RUN"]] if os.environ.get("KESTREL_RUN") else []

# Rows that stress the escaping and folding, beside the sample's ordinary ones.
HARD_ROWS = (
    'student_no,last_name,first_name,middle_name1,middle_name2,birthday,phone,'
    'cell_phone,email,address1,address3\r\n'
    '"a,b;c\\d",O\'Brien;Jr,"Zo\u00eb, Ann",,only the second,01/25/2007,555,,x@y,'
    '"12 Elm St, Apt 3",Springfield\r\n'
    ',' + 'M\u00fcller' * 16 + ',' + '\u00e9' * 99 + ',,,sometime,,0170,,,\r\n'
)


def run(*args, stdin=None):
    done = subprocess.run([*launcher, tool, *args], input=stdin, capture_output=True, check=False)
    if done.returncode != 0:
        sys.exit(f"kestrel-book {' '.join(args)}: {done.stderr.decode()}")
    return done.stdout


def values(card, name):
    return [entry.value for entry in card.contents.get(name, [])]


def main():
    with tempfile.TemporaryDirectory() as folder:
        book = os.path.join(folder, "book.dat")
        run("export", "-f", sample, "-o", os.path.join(folder, "sample.csv"))
        run("import", "-f", book, os.path.join(folder, "sample.csv"))
        run("import", "-f", book, "-", stdin=HARD_ROWS.encode("utf-8"))
        exported = run("export", "-f", book)
        rows = list(csv.DictReader(io.StringIO(exported.decode("utf-8"))))
        versions = {
            version: list(vobject.readComponents(
                run("export", "--vcard-version", version, "-f", book).decode("utf-8")))
            for version in ("4.0", "3.0")
        }
        # The round trip through another program: vobject writes the 3.0
        # cards again, in its own way, and import must give every field back.
        again = "".join(card.serialize() for card in versions["3.0"])
        run("import", "-f", os.path.join(folder, "again.dat"), "-", stdin=again.encode("utf-8"))
        round_trip = run("export", "-f", os.path.join(folder, "again.dat"))

    failures = []
    if round_trip != exported:
        failures.append("3.0 cards written again by vobject import as other records")
    for version, cards in versions.items():
        check(version, cards, rows, failures)
    if failures:
        print("\n".join(failures[:20]))
        return 1
    print(f"vobject read {len(rows)} cards of 4.0 and of 3.0 as the CSV export says")
    return 0


def check(version, cards, rows, failures):

    def expect(what, got, wanted, row):
        if got != wanted:
            failures.append(f"{version}, record {row}: {what}: {got!r} != {wanted!r}")

    expect("cards", len(cards), len(rows), 0)
    for number, (card, row) in enumerate(zip(cards, rows), start=1):
        name = card.n.value
        middle = [m for m in (row["middle_name1"], row["middle_name2"])]
        additional = name.additional if isinstance(name.additional, list) else [name.additional]
        expect("N family", name.family, row["last_name"], number)
        expect("N given", name.given, row["first_name"], number)
        expect("N additional", [m for m in additional if m] or [""],
               [m for m in middle if m] or [""], number)
        shown = " ".join(x for x in (row["first_name"], row["middle_name1"],
                                     row["middle_name2"], row["last_name"]) if x)
        expect("FN", card.fn.value, shown, number)
        phones = {tuple(t.params.get("TYPE", [])): t.value for t in card.contents.get("tel", [])}
        expect("TEL home", phones.get(("home",), ""), row["phone"], number)
        expect("TEL cell", phones.get(("cell",), ""), row["cell_phone"], number)
        expect("EMAIL", (values(card, "email") or [""])[0], row["email"], number)
        joined = " ".join(row[f"address{k}"] for k in range(1, 6) if row[f"address{k}"])
        expect("ADR street", card.adr.value.street if joined else "", joined, number)
        expect("X-KESTREL-STUDENT-NO", (values(card, "x-kestrel-student-no") or [""])[0],
               row["student_no"], number)
        bday = values(card, "bday")
        own = values(card, "x-kestrel-birthday")
        expect("VERSION", card.version.value, version, number)
        if bday:
            b = bday[0]
            iso = b if version == "3.0" else f"{b[0:4]}-{b[4:6]}-{b[6:8]}"
            expect("BDAY or own birthday", own[0] if own else iso, row["birthday"], number)
        else:
            expect("own birthday", (own or [""])[0], row["birthday"], number)


sys.exit(main())
