// Message boxes: a dialog window built on the fly (icon, text, a row of
// buttons) and run like any other dialog.
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QStyle>
#include <vector>

#include "app/toolkit/qt/dialog_font.h"
#include "app/toolkit/qt/dialog_window.h"
#include "app/toolkit/qt/qt_text.h"
#include "app/toolkit/window_placement.h"

namespace toolkit {
namespace {

struct ButtonSpec {
  int id;
  const char* text;
};

std::vector<ButtonSpec> ButtonsFor(UINT type) {
  switch (type & 0xF) {
    case MB_OKCANCEL:
      return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_YESNOCANCEL:
      return {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO:
      return {{IDYES, "&Yes"}, {IDNO, "&No"}};
    default:
      return {{IDOK, "OK"}};
  }
}

const char* IconNameFor(UINT type) {
  switch (type & 0xF0) {
    case MB_ICONSTOP:
      return "stop";
    case MB_ICONQUESTION:
      return "question";
    case MB_ICONEXCLAMATION:
      return "exclamation";
    case MB_ICONINFORMATION:
      return "information";
    default:
      return nullptr;
  }
}

QStyle::StandardPixmap StandardIconFor(UINT type) {
  switch (type & 0xF0) {
    case MB_ICONSTOP:
      return QStyle::SP_MessageBoxCritical;
    case MB_ICONQUESTION:
      return QStyle::SP_MessageBoxQuestion;
    case MB_ICONEXCLAMATION:
      return QStyle::SP_MessageBoxWarning;
    default:
      return QStyle::SP_MessageBoxInformation;
  }
}

// Escape and the close box mean Cancel where there is one and OK in a box
// with OK alone; a Yes/No box can only be answered.
class MessageBoxHost : public DialogEvents {
 public:
  explicit MessageBoxHost(std::vector<ButtonSpec> buttons) : buttons_(std::move(buttons)) {
    if (Has(IDCANCEL)) {
      escapeResult_ = IDCANCEL;
    } else if (buttons_.size() == 1 && buttons_[0].id == IDOK) {
      escapeResult_ = IDOK;
    }
    if (escapeResult_ != 0) systemMenu_.AppendMenu(MF_STRING, SC_CLOSE, "&Close");
  }
  bool Closable() const { return escapeResult_ != 0; }
  void SetWindow(DialogWindow* window) { window_ = window; }

  bool InitDialog(HWND /*dialog*/) override { return true; }
  void Command(UINT /*code*/, int id) override {
    if (id == IDCANCEL && !Has(IDCANCEL)) {
      if (escapeResult_ != 0) window_->End(escapeResult_);
      return;
    }
    if (Has(id)) window_->End(id);
  }
  void SysCommand(UINT command) override {
    if ((command & 0xFFF0) == SC_CLOSE) Command(BN_CLICKED, IDCANCEL);
  }
  bool Paint() override { return false; }
  const CMenu* SystemMenu() override { return Closable() ? &systemMenu_ : nullptr; }

 private:
  bool Has(int id) const {
    for (const ButtonSpec& b : buttons_) {
      if (b.id == id) return true;
    }
    return false;
  }
  std::vector<ButtonSpec> buttons_;
  int escapeResult_ = 0;
  CMenu systemMenu_;
  DialogWindow* window_ = nullptr;
};

}  // namespace

namespace backend {

int MessageBox(HWND ownerHandle, std::string_view text, std::string_view caption, UINT type) {
  QWidget* owner = WidgetOf(ownerHandle);
  if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) return 0;
  const std::vector<ButtonSpec> buttons = ButtonsFor(type);
  MessageBoxHost host(buttons);
  const unsigned style =
      WS_POPUP | WS_CAPTION | DS_MODALFRAME | (host.Closable() ? WS_SYSMENU : 0u);
  DialogWindow window(owner, &host, /*templateId=*/0, style, /*appWindow=*/owner == nullptr,
                      DialogFont("MS Shell Dlg", 8));
  host.SetWindow(&window);
  window.setWindowTitle(ToQt(caption));

  // Layout in pixels from the font: margins, the icon, the wrapped text, and
  // a centred row of 50 x 14 dialog-unit buttons, the first one the default.
  const BaseUnits base = window.Base();
  const int margin = DialogXToPixels(7, base);
  const int gap = DialogXToPixels(4, base);
  const int buttonWidth = DialogXToPixels(50, base);
  const int buttonHeight = DialogYToPixels(14, base);
  const char* iconName = IconNameFor(type);
  const int iconSize = iconName ? 32 : 0;
  const QString qtText = ToQt(text);
  const QFontMetrics metrics(window.font());
  const QRect textBounds = metrics.boundingRect(QRect(0, 0, 60 * base.x, 10000),
                                                Qt::TextWordWrap | Qt::TextExpandTabs, qtText);
  const int textX = margin + (iconName ? iconSize + margin : 0);
  const int textHeight = std::max(textBounds.height(), metrics.height());
  const int textY = margin + std::max(0, (iconSize - textHeight) / 2);
  const int rowWidth = static_cast<int>(buttons.size()) * (buttonWidth + gap) - gap;
  const int bodyBottom = std::max(margin + iconSize, textY + textHeight);
  const int width = std::max(textX + textBounds.width() + margin, rowWidth + 2 * margin);
  const int height = bodyBottom + margin + buttonHeight + margin;
  window.setFixedSize(width, height);

  if (iconName != nullptr) {
    auto* icon = new QLabel(&window);
    icon->setObjectName(QStringLiteral("messageIcon"));
    icon->setProperty("kestrelIcon", QString::fromLatin1(iconName));
    icon->setPixmap(window.style()->standardIcon(StandardIconFor(type)).pixmap(iconSize, iconSize));
    icon->setGeometry(margin, margin, iconSize, iconSize);
  }
  const std::string textCopy(text);  // the template holds a NUL-terminated text
  const ControlTemplate label{0xFFFF,
                              ControlKind::kLabel,
                              textCopy.c_str(),
                              0,
                              0,
                              0,
                              0,
                              WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX};
  window.AddControl(label, QRect(textX, textY, textBounds.width() + 1, textHeight))
      ->setObjectName(QStringLiteral("messageText"));
  int x = (width - rowWidth) / 2;
  const int y = bodyBottom + margin;
  const std::size_t defaultIndex = (type & MB_DEFBUTTON2) != 0 && buttons.size() > 1 ? 1 : 0;
  QWidget* defaultButton = nullptr;
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    const ButtonSpec& b = buttons[i];
    const bool isDefault = i == defaultIndex;
    const unsigned buttonStyle =
        WS_CHILD | WS_VISIBLE | WS_TABSTOP | (isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    QWidget* button =
        window.AddControl({b.id, ControlKind::kPushButton, b.text, 0, 0, 0, 0, buttonStyle},
                          QRect(x, y, buttonWidth, buttonHeight));
    if (isDefault) defaultButton = button;
    x += buttonWidth + gap;
  }
  PlaceMessageBox(HandleOf(&window), ownerHandle);
  // The focus starts on the default button: the first tab stop, or the one
  // MB_DEFBUTTON2 names.
  if (defaultIndex == 0) return window.Run(/*focusFirstTabStop=*/true);
  if (defaultButton != nullptr) defaultButton->setFocus();
  return window.Run(/*focusFirstTabStop=*/false);
}

}  // namespace backend
}  // namespace toolkit
