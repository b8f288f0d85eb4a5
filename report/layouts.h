// The three printed layouts of a set of records: a class list, a sheet of
// address labels and one framed card per record. Each turns records into
// pages of drawing operations (page.h); none draws anything itself.
#pragma once

#include <span>
#include <string>

#include "report/page.h"
#include "search/find_matches.h"
#include "store/student_record.h"

namespace report {

enum class Layout { list, labels, cards };

enum class Paper { a4, letter };

// Whom an address label is for: the student ("First Last"), or the parent,
// falling back to the student where the record names no parent.
enum class Addressee { student, parent };

struct ReportOptions {
  Layout layout = Layout::list;
  Paper paper = Paper::a4;
  bool landscape = false;  // the list only; labels and cards are portrait
  Addressee to = Addressee::student;
  int skipLabels = 0;  // empty cells left at the start of the first sheet
  // For the list's title line, Windows-1252: the book's file name, the
  // search that chose the records (empty: "All records") and the date as
  // it should print.
  std::string bookName;
  std::string searchText;
  std::string date;
};

// The search as the list's title line names it, Windows-1252: each
// criterion given as its label and text, `Last Name "Smi", Address "Elm"`;
// empty when none is given (every record).
std::string DescribeSearch(const SearchCriteria& criteria);

// Lays out `records` in the order given. Never fails: no records give one
// page with the title and the column heads (list) or nothing drawn.
Document LayOut(std::span<const StudentRecord* const> records, const ReportOptions& options);

}  // namespace report
