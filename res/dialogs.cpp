// The dialog templates of the program, one table per dialog, each in template
// order (which is also the tab order). Positions and sizes are dialog units.
#include "app/toolkit/win_types.h"
#include "res/resource.h"
#include "res/resources.h"

namespace {

constexpr unsigned kChild = WS_CHILD | WS_VISIBLE;

// Control shapes, each with the styles a resource script gives it by default.
constexpr ControlTemplate Edit(int id, int x, int y, int cx, int cy) {
  return {
      id, ControlKind::kEdit, "", x, y, cx, cy, kChild | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL};
}
constexpr ControlTemplate Label(const char* text, int x, int y, int cx, int cy,
                                unsigned extra = 0) {
  return {IDC_STATIC, ControlKind::kLabel, text, x, y, cx, cy, kChild | WS_GROUP | SS_LEFT | extra};
}
constexpr ControlTemplate Button(int id, const char* text, int x, int y, int cx, int cy) {
  return {id, ControlKind::kPushButton, text, x, y, cx, cy, kChild | WS_TABSTOP | BS_PUSHBUTTON};
}
constexpr ControlTemplate DefaultButton(int id, const char* text, int x, int y, int cx, int cy,
                                        unsigned extra = 0) {
  return {id,   ControlKind::kPushButton,
          text, x,
          y,    cx,
          cy,   kChild | WS_TABSTOP | BS_DEFPUSHBUTTON | extra};
}
constexpr ControlTemplate GroupBox(const char* text, int x, int y, int cx, int cy) {
  return {IDC_STATIC, ControlKind::kGroupBox, text, x, y, cx, cy, kChild};
}
constexpr ControlTemplate Icon(int iconId, int x, int y, int cx, int cy) {
  return {IDC_STATIC, ControlKind::kIcon, "", x, y, cx, cy, kChild | SS_ICON, iconId};
}

// 102: the main form.
constexpr ControlTemplate kMainForm[] = {
    Edit(IDC_FIRST_NAME, 91, 28, 240, 10),
    Edit(IDC_LAST_NAME, 91, 43, 240, 10),
    Button(IDC_SEARCH, "&Search Database", 251, 210, 80, 15),
    Edit(IDC_STUDENT_NO, 91, 13, 240, 10),
    Edit(IDC_MIDDLE_NAME1, 91, 58, 240, 10),
    Edit(IDC_MIDDLE_NAME2, 91, 73, 240, 10),
    Edit(IDC_GENDER, 91, 90, 240, 10),
    Edit(IDC_BIRTHDAY, 91, 105, 240, 10),
    Edit(IDC_PHONE, 91, 120, 240, 10),
    Edit(IDC_PARENT_NAME, 91, 165, 240, 10),
    Edit(IDC_PARENT_PHONE, 91, 180, 240, 10),
    Edit(IDC_ADDRESS, 91, 195, 240, 10),
    Label("Student #:", 11, 13, 40, 10),
    Label("First Name:", 11, 28, 40, 10),
    Label("Last Name:", 11, 43, 40, 10),
    Label("Middle Name1:", 11, 58, 50, 10),
    Label("Middle Name2:", 11, 75, 50, 10),
    Label("Gender:", 11, 90, 40, 10),
    Label("Birthday:", 11, 105, 40, 10),
    Label("Phone:", 11, 120, 40, 10),
    Label("Parent's Name:", 11, 165, 80, 10),
    Label("Parent's Phone:", 11, 180, 80, 10),
    Label("Address", 11, 195, 75, 10),
    Button(IDC_SAVE_AND_EXIT, "Save and E&xit", 85, 270, 80, 15),
    Label("Cell Phone:", 11, 135, 40, 10),
    Label("E-mail:", 11, 150, 40, 10),
    Edit(IDC_CELL_PHONE, 91, 135, 240, 10),
    Edit(IDC_EMAIL, 91, 150, 240, 10),
    Button(IDC_CREATE_NEW_RECORD, "&Create New Record", 250, 245, 80, 15),
    GroupBox("Search Database", 5, 0, 330, 230),
    GroupBox("Create New Record", 5, 235, 330, 30),
    Button(IDCANCEL, "&Discard and Exit", 175, 270, 80, 15),
};

// 100: the About box. The version line shows "&" as it is; version and year
// come from the build.
constexpr ControlTemplate kAboutBox[] = {
    Icon(IDR_MAINFRAME, 11, 17, 20, 20),
    Label("Kestrel Version " KESTREL_ABOUT_VERSION, 40, 10, 119, 8, SS_NOPREFIX),
    Label("\xA9 " KESTREL_NOTICE_YEAR " The Kestrel authors", 40, 25, 119, 8),
    DefaultButton(IDOK, "OK", 178, 7, 50, 14, WS_GROUP),
};

// 129: the record dialog.
constexpr ControlTemplate kRecordDialog[] = {
    DefaultButton(IDC_NEXT_RECORD, "&Next Record", 285, 205, 55, 15),
    Button(IDOK, "&View Matching List", 215, 205, 65, 15),
    Button(IDC_SAVE_CHANGES, "&Save Changes", 155, 205, 55, 15),
    Button(IDCANCEL, "Start &Over", 5, 205, 50, 15),
    Button(IDC_DELETE_RECORD, "&Delete Record", 95, 205, 55, 15),
    Edit(IDC_STUDENT_NO, 99, 5, 240, 10),
    Edit(IDC_FIRST_NAME, 99, 20, 240, 10),
    Edit(IDC_LAST_NAME, 99, 35, 240, 10),
    Edit(IDC_MIDDLE_NAME1, 99, 50, 240, 10),
    Edit(IDC_MIDDLE_NAME2, 99, 65, 240, 10),
    Edit(IDC_GENDER, 99, 80, 240, 10),
    Edit(IDC_BIRTHDAY, 99, 95, 240, 10),
    Edit(IDC_PHONE, 99, 110, 240, 10),
    Edit(IDC_PARENT_NAME, 100, 170, 240, 10),
    Edit(IDC_PARENT_PHONE, 100, 185, 240, 10),
    Edit(IDC_ADDRESS, 100, 155, 240, 10),
    Label("Student #:", 9, 5, 40, 10),
    Label("First Name:", 9, 20, 40, 10),
    Label("Last Name:", 9, 35, 40, 10),
    Label("Middle Name1:", 9, 50, 50, 10),
    Label("Middle Name2:", 9, 65, 50, 10),
    Label("Gender:", 9, 80, 40, 10),
    Label("Birthday:", 9, 95, 40, 10),
    Label("Phone:", 9, 110, 40, 10),
    Label("Parent's Name:", 10, 170, 80, 10),
    Label("Parent's Phone:", 10, 185, 80, 10),
    Label("Address", 10, 155, 75, 10),
    Edit(IDC_CELL_PHONE, 100, 125, 240, 10),
    Edit(IDC_EMAIL, 100, 140, 240, 10),
    Label("Cell Phone:", 10, 125, 40, 10),
    Label("E-mail:", 10, 140, 40, 10),
};

// 130: the match list.
constexpr ControlTemplate kMatchList[] = {
    {IDC_MATCH_LIST, ControlKind::kListBox, "", 5, 5, 185, 175,
     kChild | WS_BORDER | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT},
    DefaultButton(IDC_VIEW_SELECTED, "&View Selected", 33, 185, 50, 15),
    Button(IDCANCEL, "E&xit", 113, 185, 50, 15),
};

constexpr unsigned kModal = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SHELLFONT;

constexpr DialogTemplate kDialogs[] = {
    {IDD_KESTREL_DIALOG, "Kestrel", 0, 0, 342, 290, "MS Shell Dlg", 8,
     kModal | WS_VISIBLE | WS_SYSMENU, WS_EX_APPWINDOW, kMainForm},
    {IDD_ABOUTBOX, "About Kestrel", 0, 0, 235, 55, "MS Shell Dlg", 8, kModal | WS_SYSMENU, 0,
     kAboutBox},
    {IDD_RECORD_DIALOG, "", 0, 0, 347, 226, "MS Shell Dlg", 8, kModal, 0, kRecordDialog},
    {IDD_MATCH_LIST, "Matching Records", 0, 0, 197, 201, "MS Shell Dlg", 8, kModal, 0, kMatchList},
};

}  // namespace

const DialogTemplate* FindDialogTemplate(int id) {
  for (const DialogTemplate& dialog : kDialogs) {
    if (dialog.id == id) return &dialog;
  }
  return nullptr;
}
