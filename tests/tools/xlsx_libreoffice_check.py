#!/usr/bin/env python3
"""kestrel-book's workbooks opened by LibreOffice Calc, and LibreOffice's read by kestrel-book.

1. `export --format xlsx`, converted to CSV by LibreOffice, holds every cell
   exactly as the CSV export does: leading zeros, accents, the euro sign,
   birthdays as written. LibreOffice sees the header bold, and the columns
   of different widths.
2. A workbook that LibreOffice saves from ours imports to the same records.
3. A workbook that LibreOffice makes from a CSV file, with numbers and date
   cells, imports with the numbers as written and the dates as YYYY-MM-DD.
Usage: xlsx_libreoffice_check.py KESTREL_BOOK SAMPLE_BOOK. Exit 77 (skipped)
when soffice is not installed. LibreOffice runs with a profile and HOME of its
own in a temporary folder.
"""
import csv
import io
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

tool, sample = sys.argv[1], sys.argv[2]
soffice = shutil.which("soffice") or shutil.which("libreoffice")
if not soffice:
    print("soffice is not installed (Debian: libreoffice-calc-nogui): skipped")
    sys.exit(77)

# Values a spreadsheet likes to change, beside the sample's ordinary ones.
HARD_ROWS = (
    "student_no,last_name,first_name,birthday,phone,address1,address2,address3\r\n"
    "00123,Chlo\u00e9,\u00c9mile,2009-04-17,0170 555,\u20ac 5 & <more>,=1+2,  padded  \r\n"
    "007,M\u00fcller,Zo\u00eb,04/17/2009,+49 30,\"a, b\",TRUE,1E5\r\n"
)
# UTF-8 CSV that LibreOffice reads with its own guesses: numbers and dates.
TYPED_CSV = "Student #,Last Name,Birthday,Phone\n00123,Lee,2009-04-17,555\n"
CSV_FILTER = "csv:Text - txt - csv (StarCalc):44,34,76,1"


def run(*args, stdin=None):
    done = subprocess.run([tool, *args], input=stdin, capture_output=True, check=False)
    if done.returncode != 0:
        sys.exit(f"kestrel-book {' '.join(args)}: {done.stderr.decode()}")
    return done.stdout.decode("utf-8")


def main():
    with tempfile.TemporaryDirectory(prefix="kestrel-xlsx-") as folder:
        env = dict(os.environ, HOME=os.path.join(folder, "home"))
        os.makedirs(env["HOME"])
        profile = "file://" + os.path.join(folder, "profile")

        def convert(source, target_filter, outdir, infilter=None):
            args = [soffice, f"-env:UserInstallation={profile}", "--headless", "--norestore"]
            if infilter:
                args.append(f"--infilter={infilter}")
            args += ["--convert-to", target_filter, "--outdir", outdir, source]
            done = subprocess.run(args, env=env, capture_output=True, timeout=180, check=False)
            if done.returncode != 0:
                sys.exit(f"soffice failed on {source}: {done.stderr.decode()}")

        book = os.path.join(folder, "book.dat")
        run("export", "-f", sample, "-o", os.path.join(folder, "sample.csv"))
        run("import", "-f", book, os.path.join(folder, "sample.csv"))
        run("import", "-f", book, "-", stdin=HARD_ROWS.encode("utf-8"))
        expected = list(csv.reader(io.StringIO(run("export", "-f", book))))[1:]
        ours = os.path.join(folder, "ours.xlsx")
        run("export", "-f", book, "--format", "xlsx", "-o", ours)
        failures = []

        # 1. Every cell as LibreOffice shows it.
        out = os.path.join(folder, "csv")
        convert(ours, CSV_FILTER, out)
        with open(os.path.join(out, "ours.csv"), encoding="utf-8", newline="") as f:
            shown = list(csv.reader(f))
        if not shown or shown[0][:2] != ["Student #", "Last Name"]:
            failures.append(f"header row: {shown[:1]}")
        shown = shown[1:]
        if len(shown) != len(expected):
            failures.append(f"{len(shown)} rows where the book has {len(expected)}")
        for i, (got, want) in enumerate(zip(shown, expected)):
            got = got + [""] * (len(want) - len(got))
            for column, (g, w) in enumerate(zip(got, want)):
                if g != w:
                    failures.append(f"row {i + 2}, column {column + 1}: {g!r} != {w!r}")

        # A bold header and fitted widths, as LibreOffice reads them. (A
        # headless LibreOffice has no view, so it keeps no frozen rows.)
        out = os.path.join(folder, "fods")
        convert(ours, "fods", out)
        with open(os.path.join(out, "ours.fods"), encoding="utf-8") as f:
            flat = f.read()
        if 'fo:font-weight="bold"' not in flat:
            failures.append("no bold cell style")
        widths = set(re.findall(r'style:column-width="([^"]+)"', flat))
        if len(widths) < 3:
            failures.append(f"columns not fitted to their text: widths {widths}")

        # 2. LibreOffice's own workbook of our data.
        out = os.path.join(folder, "resaved")
        convert(ours, "xlsx:Calc MS Excel 2007 XML", out)
        resaved = os.path.join(out, "ours.xlsx")
        with zipfile.ZipFile(resaved) as z:
            if "xl/sharedStrings.xml" not in z.namelist():
                failures.append("LibreOffice's workbook has no shared strings to read")
        again = os.path.join(folder, "again.dat")
        run("import", "-f", again, resaved)
        back = list(csv.reader(io.StringIO(run("export", "-f", again))))[1:]
        if back != expected:
            diff = [(a, b) for a, b in zip(back, expected) if a != b][:3]
            failures.append(f"LibreOffice's resaved workbook imports differently: {diff}")

        # 3. Numbers and dates that LibreOffice typed itself.
        typed = os.path.join(folder, "typed.csv")
        with open(typed, "w", encoding="utf-8") as f:
            f.write(TYPED_CSV)
        out = os.path.join(folder, "typed")
        convert(typed, "xlsx:Calc MS Excel 2007 XML", out, infilter="CSV:44,34,76,1")
        typed_book = os.path.join(folder, "typed.dat")
        run("import", "-f", typed_book, os.path.join(out, "typed.xlsx"))
        rows = list(csv.DictReader(io.StringIO(run("export", "-f", typed_book))))
        got = [(r["student_no"], r["last_name"], r["birthday"], r["phone"]) for r in rows]
        if got != [("123", "Lee", "2009-04-17", "555")]:
            failures.append(f"LibreOffice's typed cells import as {got}")

    for failure in failures[:40]:
        print(failure)
    if failures:
        sys.exit(f"{len(failures)} failures")
    print(f"{len(expected)} records: every cell as in the book")


main()
