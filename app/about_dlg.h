// CAboutDlg: the About box, opened from the main form's system menu.
#pragma once

#include "app/toolkit/afxwin.h"

class CAboutDlg : public CDialog {
 public:
  CAboutDlg();
  ~CAboutDlg() override;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  DECLARE_MESSAGE_MAP()
};
