// Printing records from the dialogs: the Print dialog, then the platform's
// print dialog and the pages laid out for the paper of the printer chosen.
#pragma once

#include <string>
#include <vector>

#include "report/layouts.h"
#include "store/student_record.h"

// What is about to be printed.
struct PrintSource {
  std::vector<const StudentRecord*> records;  // in the order they print
  // The search that chose them, as the list's title names it: "" for all.
  std::string searchText;
  std::string bookName;  // the book's file name, Windows-1252
};

// Asks how to print (the Print dialog, starting at `layout`) and where (the
// platform's dialog), then prints. Tells the user when the print failed.
void PrintRecords(const PrintSource& source, report::Layout layout);

// The report's paper nearest in size to a printer's sheet, either way round.
report::Paper NearestPaper(const report::PaperSize& sheet);

// The options that lay out the chosen layout on a printer's sheet: its
// nearest paper, and landscape for a list on a sheet wider than tall.
report::ReportOptions OptionsForSheet(report::ReportOptions chosen, const report::PaperSize& sheet);
