// The search form's and the record dialog's labels of the thirteen
// searchable fields, written once: the dialog templates and the printed
// pages both take them from here, so the two never drift apart.
#pragma once

namespace form_labels {

inline constexpr const char kStudentNo[] = "Student #:";
inline constexpr const char kLastName[] = "Last Name:";
inline constexpr const char kFirstName[] = "First Name:";
inline constexpr const char kMiddleName1[] = "Middle Name1:";
inline constexpr const char kMiddleName2[] = "Middle Name2:";
inline constexpr const char kGender[] = "Gender:";
inline constexpr const char kBirthday[] = "Birthday:";
inline constexpr const char kPhone[] = "Phone:";
inline constexpr const char kEmail[] = "E-mail:";
inline constexpr const char kCellPhone[] = "Cell Phone:";
inline constexpr const char kParentName[] = "Parent's Name:";
inline constexpr const char kParentPhone[] = "Parent's Phone:";
inline constexpr const char kAddress[] = "Address";  // over the five address lines: no colon

// The same in field order (the book's field indexes 0 to 12).
inline constexpr int kCount = 13;
inline constexpr const char* kInFieldOrder[kCount] = {
    kStudentNo, kLastName, kFirstName, kMiddleName1, kMiddleName2, kGender,  kBirthday,
    kPhone,     kEmail,    kCellPhone, kParentName,  kParentPhone, kAddress,
};

}  // namespace form_labels
