// Message maps: each dialog class has a static table of (message or
// notification, control id, handler) rows chained to its base class's table.
// The toolkit looks a message up in the class's own table first, then in each
// base table in turn, and calls the first handler that matches.
//
//   class CMyDlg : public CDialog {
//     ...
//     void OnSearch();
//     DECLARE_MESSAGE_MAP()
//   };
//   BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//     ON_BN_CLICKED(IDC_SEARCH, OnSearch)
//   END_MESSAGE_MAP()
#pragma once

#include "app/toolkit/win_types.h"

class CWnd;

// Handler shapes, by message: commands and notifications, WM_PAINT.
using AFX_PMSG = void (CWnd::*)();
// WM_SYSCOMMAND: the command number and its parameter.
using AFX_PMSG_SYSCOMMAND = void (CWnd::*)(UINT, LPARAM);
// WM_QUERYDRAGICON: the icon shown while the minimised window is dragged.
using AFX_PMSG_QUERYICON = HCURSOR (CWnd::*)();

struct MessageMapEntry {
  UINT message;  // 0 ends the table
  UINT code;     // WM_COMMAND: the notification code (BN_CLICKED, LBN_DBLCLK, ...)
  int id;        // WM_COMMAND: the control or command id
  AFX_PMSG handler;
  AFX_PMSG_SYSCOMMAND sysCommandHandler;
  AFX_PMSG_QUERYICON queryIconHandler;
};

struct MessageMap {
  const MessageMap* (*base)();  // nullptr for the root of the chain
  const MessageMapEntry* entries;
};

// In the class body: declares the class's table and its accessor.
#define DECLARE_MESSAGE_MAP()                   \
 protected:                                     \
  static const MessageMap* GetThisMessageMap(); \
  const MessageMap* GetMessageMap() const override;

// clang-format off
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                      \
  const MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const MessageMap* theClass::GetThisMessageMap() {                                 \
    using ThisClass [[maybe_unused]] = theClass;                                    \
    using TheBaseClass = baseClass;                                                 \
    static const MessageMapEntry entries[] = {

#define END_MESSAGE_MAP()                                                     \
      {0, 0, 0, nullptr, nullptr, nullptr}};                                  \
    static const MessageMap map = {&TheBaseClass::GetThisMessageMap, entries}; \
    return &map;                                                              \
  }

// A command: a button click or a menu command with this id.
#define ON_COMMAND(id, memberFxn) \
  {WM_COMMAND, BN_CLICKED, (id), static_cast<AFX_PMSG>(&ThisClass::memberFxn), nullptr, nullptr},
#define ON_BN_CLICKED(id, memberFxn) ON_COMMAND(id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) \
  {WM_COMMAND, EN_CHANGE, (id), static_cast<AFX_PMSG>(&ThisClass::memberFxn), nullptr, nullptr},
#define ON_LBN_DBLCLK(id, memberFxn) \
  {WM_COMMAND, LBN_DBLCLK, (id), static_cast<AFX_PMSG>(&ThisClass::memberFxn), nullptr, nullptr},

// Handlers with fixed names: OnSysCommand, OnPaint, OnQueryDragIcon.
#define ON_WM_SYSCOMMAND() \
  {WM_SYSCOMMAND, 0, 0, nullptr, static_cast<AFX_PMSG_SYSCOMMAND>(&ThisClass::OnSysCommand), nullptr},
#define ON_WM_PAINT() \
  {WM_PAINT, 0, 0, static_cast<AFX_PMSG>(&ThisClass::OnPaint), nullptr, nullptr},
#define ON_WM_QUERYDRAGICON() \
  {WM_QUERYDRAGICON, 0, 0, nullptr, nullptr, static_cast<AFX_PMSG_QUERYICON>(&ThisClass::OnQueryDragIcon)},
// clang-format on
