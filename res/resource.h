// Numbers of the program's resources and of the controls in its dialogs.
#pragma once

// Dialog templates.
constexpr int IDD_ABOUTBOX = 100;
constexpr int IDD_KESTREL_DIALOG = 102;
constexpr int IDD_RECORD_DIALOG = 129;
constexpr int IDD_MATCH_LIST = 130;
constexpr int IDD_PRINT = 131;

// Strings, icons, system-menu commands.
constexpr int IDS_ABOUTBOX = 101;
constexpr int IDR_MAINFRAME = 128;
constexpr unsigned IDM_ABOUTBOX = 0x0010;
constexpr int IDS_PRINT = 102;
constexpr unsigned IDM_PRINT = 0x0020;

// Controls nobody addresses.
constexpr int IDC_STATIC = -1;

// The thirteen field edits: the same numbers in the main form and the record dialog.
constexpr int IDC_STUDENT_NO = 1007;
constexpr int IDC_FIRST_NAME = 1008;
constexpr int IDC_LAST_NAME = 1009;
constexpr int IDC_MIDDLE_NAME1 = 1010;
constexpr int IDC_MIDDLE_NAME2 = 1011;
constexpr int IDC_GENDER = 1012;
constexpr int IDC_BIRTHDAY = 1013;
constexpr int IDC_PHONE = 1015;
constexpr int IDC_PARENT_NAME = 1016;
constexpr int IDC_PARENT_PHONE = 1017;
constexpr int IDC_ADDRESS = 1018;
constexpr int IDC_CELL_PHONE = 1019;
constexpr int IDC_EMAIL = 1021;

// Main form buttons.
constexpr int IDC_SEARCH = 1004;
constexpr int IDC_CREATE_NEW_RECORD = 1023;
constexpr int IDC_SAVE_AND_EXIT = 1025;

// Record dialog buttons.
constexpr int IDC_NEXT_RECORD = 1020;
constexpr int IDC_SAVE_CHANGES = 1022;
constexpr int IDC_DELETE_RECORD = 1023;

// Match list.
constexpr int IDC_MATCH_LIST = 1015;
constexpr int IDC_VIEW_SELECTED = 1021;

// Print dialog.
constexpr int IDC_PRINT_LAYOUT = 1030;
constexpr int IDC_PRINT_TO = 1031;
constexpr int IDC_PRINT_SKIP = 1032;
constexpr int IDC_PRINT_PREVIEW = 1033;
