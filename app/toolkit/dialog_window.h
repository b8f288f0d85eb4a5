// The Qt window behind a running dialog or message box, and the dialog
// manager's keyboard rules: tab order, Enter, Escape, mnemonics, the system
// menu. Only the toolkit's own sources and the tests include this.
#pragma once

#include <QFont>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <string>
#include <string_view>
#include <vector>

#include "app/toolkit/cwnd.h"
#include "app/toolkit/dialog_template.h"
#include "app/toolkit/dialog_units.h"

class QEventLoop;
class QPainter;

namespace toolkit {

// Windows-1252 text and Qt's Unicode.
QString ToQt(std::string_view cp1252Text);
std::string FromQt(const QString& text);  // '?' for what the code page cannot hold

// The character after the first single "&" of a control text, upper-cased, or
// a null QChar. "&&" stands for "&" itself.
QChar MnemonicOf(std::string_view text);

// The font that stands in for the template's dialog font, and its base units.
QFont DialogFont(const char* name, int pointSize);
BaseUnits BaseUnitsOf(const QFont& font);

// What a window reports to the object that runs it (a CDialog or a message box).
class DialogHost {
 public:
  virtual ~DialogHost() = default;
  virtual void Command(UINT code, int id) = 0;  // WM_COMMAND
  virtual void SysCommand(UINT command) = 0;    // WM_SYSCOMMAND
  virtual bool Paint() { return false; }        // true when a WM_PAINT handler ran
  virtual const CMenu* SystemMenu() { return nullptr; }
};

class DialogWindow : public QWidget {
 public:
  struct Control {
    int id;
    ControlKind kind;
    unsigned style;
    QWidget* widget;
    QChar mnemonic;
  };

  // templateId is 0 for a message box. appWindow: a top-level window with its
  // own taskbar button instead of a dialog of its owner.
  DialogWindow(QWidget* owner, DialogHost* host, int templateId, unsigned style, bool appWindow,
               const QFont& font);
  ~DialogWindow() override;

  int TemplateId() const { return templateId_; }
  DialogHost* Host() const { return host_; }
  BaseUnits Base() const { return base_; }
  bool HasSystemMenu() const { return (style_ & WS_SYSMENU) != 0; }

  // Adds a control at pixel rectangle r, after those added before it.
  QWidget* AddControl(const ControlTemplate& control, const QRect& r);
  const std::vector<Control>& Controls() const { return controls_; }
  QWidget* ControlWidget(int id) const;          // the first control numbered id, or nullptr
  int ControlIdOf(const QWidget* widget) const;  // 0 when not one of ours

  // Shows the window and runs its modal loop until End; returns End's code.
  // Returns at once when End was called before (from the initialisation hook).
  int Run(bool focusFirstTabStop);
  void End(int code);
  bool Ended() const { return ended_; }

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
  void CentreOnOwner();
  bool HandleKey(QKeyEvent* event);
  bool WantsKey(QKeyEvent* event) const;
  bool ActivateMnemonic(QChar letter);
  const Control* FocusedControl() const;
  const Control* DefaultButton() const;
  bool IsTabStop(const Control& control) const;
  void UpdateDefaultLook();

  DialogHost* host_;
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

// The text of a window or control in Windows-1252: the caption of a dialog,
// the text of an edit, the template text (with its "&") of anything else.
std::string WindowTextOf(const QWidget* widget);
void SetWindowTextOf(QWidget* widget, std::string_view text);

// The LB_ messages on a list box control. Returns LB_ERR for a widget that is
// not a list box, as for an index out of range.
LRESULT ListBoxMessage(QWidget* widget, UINT message, WPARAM wParam, LPARAM lParam);

// Builds the window of template t with its controls, for one modal run.
DialogWindow* BuildDialogWindow(const DialogTemplate& t, QWidget* owner, DialogHost* host);

// Icon resources as Qt images (icons.cpp); nullptr when there is no such icon.
HICON LoadIconResource(int id);
QPixmap IconPixmap(HICON icon, int size);

// A modal message box (message_box.cpp). owner may be nullptr.
int RunMessageBox(QWidget* owner, const std::string& text, const std::string& caption, UINT type);

}  // namespace toolkit
