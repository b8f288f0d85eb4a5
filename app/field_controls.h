// The thirteen field edits that the main form and the record dialog share:
// the same control numbers, each bound to the string of its field index.
#pragma once

#include "res/resource.h"
#include "store/student_record.h"

struct FieldControl {
  int controlId;
  int field;  // StudentRecord field index 0-12; 12 stands for the whole address
};

inline constexpr FieldControl kFieldControls[StudentRecord::kSearchFieldCount] = {
    {IDC_STUDENT_NO, studentNo},
    {IDC_LAST_NAME, lastName},
    {IDC_FIRST_NAME, firstName},
    {IDC_MIDDLE_NAME1, middleName1},
    {IDC_MIDDLE_NAME2, middleName2},
    {IDC_GENDER, gender},
    {IDC_BIRTHDAY, birthday},
    {IDC_PHONE, phone},
    {IDC_EMAIL, email},
    {IDC_CELL_PHONE, cellPhone},
    {IDC_PARENT_NAME, parentName},
    {IDC_PARENT_PHONE, parentPhone},
    {IDC_ADDRESS, address1},
};
