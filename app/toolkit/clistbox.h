// CListBox: a list box control bound with DDX_Control. Items are Windows-1252
// strings kept in the order added (the toolkit never sorts them).
#pragma once

#include "app/toolkit/cwnd.h"

class CListBox : public CWnd {
 public:
  // Adds an item at the end. Returns its index, or LB_ERR when not bound.
  int AddString(const char* text) {
    return static_cast<int>(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
  }
  // Selects item index (-1 clears). Returns LB_ERR for an index out of range.
  int SetCurSel(int index) {
    return static_cast<int>(SendMessage(LB_SETCURSEL, static_cast<WPARAM>(index)));
  }
  // The selected index, or LB_ERR when nothing is selected.
  int GetCurSel() const {
    return static_cast<int>(const_cast<CListBox*>(this)->SendMessage(LB_GETCURSEL));
  }
  int GetCount() const {
    return static_cast<int>(const_cast<CListBox*>(this)->SendMessage(LB_GETCOUNT));
  }
  void ResetContent() { SendMessage(LB_RESETCONTENT); }
};
