#!/usr/bin/env python3
"""kestrel-book print's PDF files read by independent tools.

Every layout on both sheets must pass `qpdf --check`, and `pdftotext` must
give back every text exactly, Windows-1252 letters included. The label
sheets' geometry is measured from the text positions (`pdftotext -bbox`)
and must be exact to a tenth of a millimetre. Last, the first page of each
layout of the sample book is rendered with `pdftoppm` into PICTURES, the
pictures of the README.
Usage: print_pdf_check.py KESTREL_BOOK SAMPLE_BOOK PICTURES. Exit 77
(skipped) when qpdf or poppler-utils are not installed.
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

for needed in ("qpdf", "pdftotext", "pdftoppm"):
    if shutil.which(needed) is None:
        print(f"{needed} is not installed: skipped")
        sys.exit(77)

tool, sample, pictures = sys.argv[1:4]
# KESTREL_RUN, when set, launches the tool (wine-run for the Windows build).
launcher = [os.environ["KESTREL_RUN"]] if os.environ.get("KESTREL_RUN") else []
# A fixed date: the same bytes, and the same pictures, on every run.
environment = dict(os.environ, SOURCE_DATE_EPOCH="1765252800")

# Two records whose texts use the Windows-1252 letters beyond ASCII.
ROWS = (
    "student_no,last_name,first_name,birthday,phone,cell_phone,parent_name,parent_phone,"
    "address1,address2,address3\r\n"
    "7\u20ac,M\u00fcller,Zo\u00eb,1/2/2009,555-01,555-02,\u0152dipe \u00df\u00e9,555-03,"
    "Stra\u00dfe 5 \u201cB\u201d \u2013 \u2014,Fr\u00e9jus (Var) \\ \u2030,\u0160\u017d\u0178 \u2122 \u00bd\r\n"
    "8,O'Brien,Se\u00e1n,,,,,,1 Elm St,,\r\n"
)

failures = []


def run(*args):
    done = subprocess.run([*launcher, tool, *args], capture_output=True, check=False,
                          env=environment)
    if done.returncode != 0:
        sys.exit(f"kestrel-book {' '.join(args)}: {done.stderr.decode()}")
    return done.stdout


def pdftotext(path, *options):
    return subprocess.run(["pdftotext", *options, path, "-"], capture_output=True,
                          check=True).stdout.decode("utf-8")


def expect_texts(path, texts):
    check = subprocess.run(["qpdf", "--check", path], capture_output=True, text=True)
    if check.returncode != 0:
        failures.append(f"{path}: qpdf --check: {check.stdout}{check.stderr}")
    lines = [line.strip() for line in pdftotext(path, "-raw").splitlines()]
    for text in texts:
        if not any(text in line for line in lines):
            failures.append(f"{os.path.basename(path)}: no {text!r} in {lines}")


# The label sheets: columns, rows, label width and height, top, left,
# column pitch, row pitch, in points.
MM = 72 / 25.4
SHEETS = {
    "a4": (3, 7, 63.5 * MM, 38.1 * MM, 15.15 * MM, 7.2 * MM, 66.04 * MM, 38.1 * MM),
    "letter": (3, 10, 189, 72, 36, 13.5, 198, 72),
}
INSET = 6  # the text's distance from a label's left edge
# Helvetica's ascender and descender as pdftotext places the words, and
# the font's bounding box, which the labels centre in their cells.
AFM_ASCENT, AFM_DESCENT = 0.718, 0.207
BOX_ASCENT, BOX_DESCENT = 0.931, 0.225


def measure_labels(path, paper):
    """The sheet's geometry read from one-line labels "L01", "L02"... placed
    at the centre of their cells."""
    columns, rows, width, height, top, left, column_pitch, row_pitch = SHEETS[paper]
    words = re.findall(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="[\d.]+" yMax="([\d.]+)">L(\d+)</word>',
                       pdftotext(path, "-bbox", "-f", "1", "-l", "1"))
    cells = {}
    for x_min, y_min, y_max, number in words:
        size = (float(y_max) - float(y_min)) / (AFM_ASCENT + AFM_DESCENT)
        baseline = float(y_max) - AFM_DESCENT * size
        ink_middle = baseline + (BOX_DESCENT - BOX_ASCENT) * size / 2
        cells[int(number)] = (float(x_min) - INSET, ink_middle - height / 2)
    if len(cells) != columns * rows:
        failures.append(f"{paper}: {len(cells)} labels on the first sheet, not {columns * rows}")
        return
    measured = {
        "left": cells[1][0], "top": cells[1][1],
        "column pitch": cells[2][0] - cells[1][0],
        "row pitch": cells[1 + columns][1] - cells[1][1],
    }
    wanted = {"left": left, "top": top, "column pitch": column_pitch, "row pitch": row_pitch}
    for i in range(1, columns * rows + 1):  # every cell where its row and column put it
        x = left + (i - 1) % columns * column_pitch
        y = top + (i - 1) // columns * row_pitch
        if abs(cells[i][0] - x) > 0.1 * MM or abs(cells[i][1] - y) > 0.1 * MM:
            failures.append(f"{paper}: label {i} at {cells[i]}, not ({x:.2f}, {y:.2f})")
    print(f"{paper}: " + ", ".join(f"{name} {value / MM:.3f} mm ({value / 72:.4f} in)"
                                   for name, value in measured.items()))
    for name, value in measured.items():
        if abs(value - wanted[name]) > 0.1 * MM:
            failures.append(f"{paper}: {name} {value / MM:.3f} mm, not {wanted[name] / MM:.3f} mm")


def main():
    with tempfile.TemporaryDirectory() as folder:
        book = os.path.join(folder, "book.dat")
        csv = os.path.join(folder, "rows.csv")
        with open(csv, "w", encoding="utf-8", newline="") as out:
            out.write(ROWS)
        run("import", "-f", book, csv)
        name = "M\u00fcller, Zo\u00eb"
        address = ["Stra\u00dfe 5 \u201cB\u201d \u2013 \u2014", "Fr\u00e9jus (Var) \\ \u2030",
                   "\u0160\u017d\u0178 \u2122 \u00bd"]
        wanted = {
            "list": [f"{name} 7\u20ac 1/2/2009 555-01 555-02 \u0152dipe \u00df\u00e9 555-03",
                     "O'Brien, Se\u00e1n", "book.dat \u2014 All records 2025-12-09", "Page 1 of 1"],
            "labels": ["Zo\u00eb M\u00fcller", *address, "Se\u00e1n O'Brien", "1 Elm St"],
            "cards": [name, "Student #: 7\u20ac", "Parent's Name: \u0152dipe \u00df\u00e9",
                      "Address " + address[0], *address[1:], "O'Brien, Se\u00e1n"],
        }
        for layout, texts in wanted.items():
            for paper in ("a4", "letter"):
                path = os.path.join(folder, f"{layout}-{paper}.pdf")
                run("print", "--layout", layout, "--paper", paper, "-f", book, "-o", path)
                expect_texts(path, texts)
        # The search names itself on the title line; parents on labels.
        path = os.path.join(folder, "search.pdf")
        run("print", "--layout", "list", "--landscape", "--last-name", "\u00fc", "-f", book, "-o", path)
        expect_texts(path, ['book.dat \u2014 Last Name "\u00fc" 2025-12-09', name])
        path = os.path.join(folder, "parents.pdf")
        run("print", "--layout", "labels", "--to", "parent", "-f", book, "-o", path)
        expect_texts(path, ["\u0152dipe \u00df\u00e9", "Se\u00e1n O'Brien"])

        # The geometry, from a sheet of one-line labels.
        grid = os.path.join(folder, "grid.dat")
        with open(csv, "w", encoding="utf-8", newline="") as out:
            out.write("student_no,first_name\r\n" + "".join(f"{i:02d},L{i:02d}\r\n" for i in range(1, 31)))
        run("import", "-f", grid, csv)
        for paper in SHEETS:
            path = os.path.join(folder, f"grid-{paper}.pdf")
            run("print", "--layout", "labels", "--paper", paper, "-f", grid, "-o", path)
            measure_labels(path, paper)

        # The README's pictures: the first page of each layout of the sample.
        os.makedirs(pictures, exist_ok=True)
        for layout in ("list", "labels", "cards"):
            path = os.path.join(folder, f"sample-{layout}.pdf")
            run("print", "--layout", layout, "--paper", "a4", "-f", sample, "-o", path)
            subprocess.run(["pdftoppm", "-png", "-r", "50", "-f", "1", "-l", "1", "-singlefile",
                            path, os.path.join(pictures, f"print-{layout}")], check=True)

    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
