// Writes a laid-out document as a PDF file of our own making: the standard
// Helvetica faces in WinAnsiEncoding (nothing embedded, so every
// Windows-1252 character prints), text, lines and frames. The same document
// gives the same bytes every time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "report/page.h"

namespace report {

struct PdfOptions {
  // When the file was made, in seconds since 1970 (UTC); none gives a file
  // without a date, so that a build or a test writes the same bytes again.
  std::optional<std::int64_t> created;
};

// The whole file. A document without pages gets one empty page: a PDF file
// has at least one.
std::string WritePdf(const Document& document, const PdfOptions& options = {});

}  // namespace report
