// The Qt window behind a running dialog or message box: its controls, its
// modal run, and the dialog manager's keyboard rules (keyboard.cpp) and
// system menu (system_menu.cpp) on top of Qt's own event handling.
#pragma once

#include <QFont>
#include <QWidget>
#include <string_view>
#include <vector>

#include "app/toolkit/backend.h"
#include "app/toolkit/dialog_rules.h"
#include "app/toolkit/dialog_template.h"
#include "app/toolkit/dialog_units.h"

class QEventLoop;
class QPainter;

namespace toolkit {

using backend::DialogEvents;

class DialogWindow : public QWidget {
 public:
  struct Control {
    int id;
    ControlKind kind;
    unsigned style;
    QWidget* widget;
    char mnemonic;  // see MnemonicOf
  };

  // templateId is 0 for a message box. appWindow: a top-level window with its
  // own taskbar button instead of a dialog of its owner.
  DialogWindow(QWidget* owner, DialogEvents* events, int templateId, unsigned style,
               bool appWindow, const QFont& font);
  ~DialogWindow() override;

  int TemplateId() const { return templateId_; }
  DialogEvents* Events() const { return events_; }
  BaseUnits Base() const { return base_; }
  bool HasSystemMenu() const { return (style_ & WS_SYSMENU) != 0; }

  // Adds a control at pixel rectangle r, after those added before it.
  QWidget* AddControl(const ControlTemplate& control, const QRect& r);
  const std::vector<Control>& Controls() const { return controls_; }
  QWidget* ControlWidget(int id) const;  // the first control numbered id, or nullptr

  // Shows the window and runs its modal loop until End; returns End's code.
  // Returns at once when End was called before (from the initialisation hook).
  int Run(bool focusFirstTabStop);
  void End(int code);

  // The dialog manager's moves: to the next or previous tab stop (template
  // order, skipping hidden and disabled controls), and the Enter key.
  void MoveFocus(bool forward);
  void FocusFirstTabStop();
  void PressEnter();

  void OpenSystemMenu(const QPoint& globalPos);

  HICON SetIcon(HICON icon, bool big);
  // Keeps a control's mnemonic in step with a new text.
  void TextChanged(QWidget* control, std::string_view text);
  QPainter* CurrentPainter() const { return painter_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  bool focusNextPrevChild(bool next) override;

 private:
  bool HandleKey(QKeyEvent* event);
  bool WantsKey(QKeyEvent* event) const;
  std::vector<ControlState> States() const;
  int FocusedIndex() const;  // -1 when no control has the focus
  void Focus(int index, Qt::FocusReason reason);
  void Click(int index);
  void UpdateDefaultLook();

  DialogEvents* events_;
  int templateId_;
  unsigned style_;
  BaseUnits base_;
  std::vector<Control> controls_;
  bool ended_ = false;
  int result_ = -1;
  QEventLoop* loop_ = nullptr;
  QPainter* painter_ = nullptr;
  HICON bigIcon_ = nullptr;
  HICON smallIcon_ = nullptr;
};

// Builds the window of template t with its controls, for one modal run.
DialogWindow* BuildDialogWindow(const DialogTemplate& t, QWidget* owner, DialogEvents* events);

// A window's handle as the core holds it, and back.
inline HWND HandleOf(QWidget* widget) { return reinterpret_cast<HWND>(widget); }
inline QWidget* WidgetOf(HWND window) { return reinterpret_cast<QWidget*>(window); }

}  // namespace toolkit
