// The book as vCards: one vCard 4.0 per live record out, and cards of 2.1,
// 3.0 and 4.0 in, as phones and address books write them.
//
// Mapping (both ways):
//   N                 last name; first name; middle name 1,middle name 2
//   FN                the names joined, for other programs (read only when N is missing)
//   TEL;TYPE=home     phone            TEL;TYPE=cell   cell phone
//   EMAIL             e-mail
//   BDAY              birthday, written only when it is a date beyond doubt
//   ADR               the five address parts joined as the program shows them,
//                     in the street component
//   X-KESTREL-STUDENT-NO, X-KESTREL-GENDER, X-KESTREL-PARENT-NAME,
//   X-KESTREL-PARENT-PHONE   the fields vCard has no property for
//   X-KESTREL-BIRTHDAY       the birthday as written, when BDAY alone would not give it back
//   X-KESTREL-ADDRESS        the five address parts, so that they come back as they were
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "store/student_record.h"
#include "tools/import_text.h"

namespace book_vcard {

// The vCard versions written: 4.0, and 3.0 and 2.1 for readers that know
// 4.0 badly (Outlook, older phones). All carry the same properties in UTF-8;
// 3.0 and 2.1 write BDAY as YYYY-MM-DD, 2.1 a value beyond ASCII as
// quoted-printable with CHARSET=UTF-8 and its types bare (TEL;HOME).
enum class Version { k21, k30, k40 };

// One vCard per live record of `records`, in order: UTF-8, CRLF line ends,
// lines folded at 75 octets, only the properties whose fields are set.
std::string ExportRecords(const RecordList& records, Version version = Version::k40);

using ImportResult = import_text::ImportResult;

// Reads the cards of a whole vCard file and appends one record per card to
// `records`. A byte-order mark is skipped; values are UTF-8 unless a 2.1
// CHARSET says ISO-8859-1 or Windows-1252 (and see ImportOptions for a file
// that is not UTF-8). Line breaks and tabs in a value become blanks. All or
// nothing: a malformed file, a value longer than a field or holding a
// character Windows-1252 lacks, or an unknown CHARSET refuses the whole file
// with its line, and leaves `records` as it was.
ImportResult ImportRecords(std::string_view fileBytes, RecordList& records,
                           const import_text::ImportOptions& options = {});

}  // namespace book_vcard
