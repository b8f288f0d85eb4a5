// The window of a running dialog: its controls and the dialog manager's
// keyboard rules, on Qt Widgets.
#include "app/toolkit/dialog_window.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGroupBox>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QValidator>

#include "text/cp1252.h"

namespace toolkit {

QString ToQt(std::string_view cp1252Text) {
  const std::string utf8 = cp1252::ToUtf8(cp1252Text);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string FromQt(const QString& text) { return cp1252::FromUtf8(text.toStdString()).text; }

QChar MnemonicOf(std::string_view text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    return ToQt(text.substr(i + 1, 1)).at(0).toUpper();
  }
  return {};
}

// "MS Sans Serif" is not on Linux. DejaVu Sans (scripts/install-deps installs it) stands
// in for any template font, 11 pixels for 8 points: at that size its average
// character is 7 pixels wide and 13 high, so every label and button text of
// the templates fits its box with a little room.
QFont DialogFont(const char* /*name*/, int pointSize) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(std::max(1, (pointSize * 11 + 4) / 8));
  return font;
}

BaseUnits BaseUnitsOf(const QFont& font) {
  const QFontMetrics metrics(font);
  const int width = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return BaseUnitsFromFont(width, metrics.height());
}

namespace {

// A single-line edit holds one line of Windows-1252: tabs and line breaks,
// typed or pasted, become blanks, and characters the code page cannot hold
// become '?' as they arrive, so the edit shows what will be stored.
class SingleLineCp1252Validator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override {
    QString out;
    out.reserve(input.size());
    int newPos = pos;
    for (qsizetype i = 0; i < input.size(); ++i) {
      const QChar c = input.at(i);
      if (c.isHighSurrogate() && i + 1 < input.size() && input.at(i + 1).isLowSurrogate()) {
        out += QLatin1Char('?');
        if (i < pos) --newPos;  // two code units become one
        ++i;
        continue;
      }
      if (c == u'\t' || c == u'\n' || c == u'\r' || c == QChar::LineSeparator ||
          c == QChar::ParagraphSeparator) {
        out += QLatin1Char(' ');
        continue;
      }
      unsigned char byte = 0;
      out += cp1252::FromUnicode(c.unicode(), &byte) ? c : QChar(u'?');
    }
    input = out;
    pos = std::min<int>(newPos, static_cast<int>(input.size()));
    return Acceptable;
  }
};

class ListBoxModel : public QAbstractListModel {
 public:
  using QAbstractListModel::QAbstractListModel;
  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : static_cast<int>(items_.size());
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return items_[static_cast<std::size_t>(index.row())];
  }
  int Add(QString text) {
    const int row = static_cast<int>(items_.size());
    beginInsertRows({}, row, row);
    items_.push_back(std::move(text));
    endInsertRows();
    return row;
  }
  void Clear() {
    beginResetModel();
    items_.clear();
    endResetModel();
  }

 private:
  std::vector<QString> items_;
};

// Static text: "&x" underlines x unless the style says SS_NOPREFIX.
void SetLabelText(QLabel* label, std::string_view text, unsigned style) {
  if ((style & SS_NOPREFIX) || text.find('&') == std::string_view::npos) {
    label->setTextFormat(Qt::PlainText);
    label->setText(ToQt(text));
    return;
  }
  QString html;
  const QString plain = ToQt(text);
  for (qsizetype i = 0; i < plain.size(); ++i) {
    if (plain[i] == u'&' && i + 1 < plain.size()) {
      ++i;
      if (plain[i] == u'&') {
        html += QStringLiteral("&amp;");
      } else {
        html += QStringLiteral("<u>") + QString(plain[i]).toHtmlEscaped() + QStringLiteral("</u>");
      }
      continue;
    }
    html += QString(plain[i]).toHtmlEscaped();
  }
  label->setTextFormat(Qt::RichText);
  label->setText(html);
}

}  // namespace

DialogWindow::DialogWindow(QWidget* owner, DialogHost* host, int templateId, unsigned style,
                           bool appWindow, const QFont& font)
    : QWidget(owner), host_(host), templateId_(templateId), style_(style) {
  Qt::WindowFlags flags = (appWindow ? Qt::Window : Qt::Dialog) | Qt::CustomizeWindowHint;
  if (style & WS_CAPTION) flags |= Qt::WindowTitleHint;
  if (style & WS_SYSMENU) flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  setWindowFlags(flags);
  setWindowModality(Qt::ApplicationModal);
  setFont(font);
  base_ = BaseUnitsOf(font);
  setProperty("kestrelTemplateId", templateId);
  installEventFilter(this);
}

DialogWindow::~DialogWindow() = default;

QWidget* DialogWindow::AddControl(const ControlTemplate& c, const QRect& r) {
  const std::string_view text = c.text ? c.text : "";
  QWidget* widget = nullptr;
  QChar mnemonic;
  switch (c.kind) {
    case ControlKind::kEdit: {
      auto* edit = new QLineEdit(this);
      edit->setValidator(new SingleLineCp1252Validator(edit));
      edit->setFrame((c.style & WS_BORDER) != 0);
      edit->setText(ToQt(text));
      widget = edit;
      break;
    }
    case ControlKind::kLabel: {
      auto* label = new QLabel(this);
      SetLabelText(label, text, c.style);
      label->setWordWrap(true);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      if (!(c.style & SS_NOPREFIX)) mnemonic = MnemonicOf(text);
      widget = label;
      break;
    }
    case ControlKind::kPushButton: {
      auto* button = new QPushButton(ToQt(text), this);
      // The dialog manager handles mnemonics and Enter itself, the same way
      // for every control, so Qt's own shortcut and default logic stay off.
      button->setShortcut(QKeySequence());
      button->setAutoDefault(false);
      button->setDefault((c.style & 0xF) == BS_DEFPUSHBUTTON);
      const int id = c.id;
      QObject::connect(button, &QPushButton::clicked, this,
                       [this, id] { host_->Command(BN_CLICKED, id); });
      mnemonic = MnemonicOf(text);
      widget = button;
      break;
    }
    case ControlKind::kGroupBox: {
      auto* group = new QGroupBox(ToQt(text), this);
      // The title sits on the frame's top line, inside the template's rectangle.
      group->setStyleSheet(
          QStringLiteral(
              "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: %1px; }"
              "QGroupBox::title { subcontrol-origin: margin; left: %2px; padding: 0 2px; }")
              .arg(base_.y / 2)
              .arg(base_.x));
      // A frame drawn behind the controls it surrounds: never in the way of a click.
      group->setAttribute(Qt::WA_TransparentForMouseEvents);
      widget = group;
      break;
    }
    case ControlKind::kIcon: {
      auto* label = new QLabel(this);
      const QPixmap picture = IconPixmap(LoadIconResource(c.iconId), 32);
      label->setPixmap(picture);
      widget = label;
      break;
    }
    case ControlKind::kListBox: {
      auto* list = new QListView(this);
      list->setModel(new ListBoxModel(list));
      list->setUniformItemSizes(true);
      list->setSelectionMode(QAbstractItemView::SingleSelection);
      list->setEditTriggers(QAbstractItemView::NoEditTriggers);
      list->setTextElideMode(Qt::ElideNone);
      list->setWordWrap(false);
      list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
      list->setVerticalScrollBarPolicy((c.style & WS_VSCROLL) ? Qt::ScrollBarAsNeeded
                                                              : Qt::ScrollBarAlwaysOff);
      list->setFrameShape((c.style & WS_BORDER) ? QFrame::StyledPanel : QFrame::NoFrame);
      if (c.style & LBS_NOTIFY) {
        const int id = c.id;
        QObject::connect(list, &QListView::doubleClicked, this,
                         [this, id] { host_->Command(LBN_DBLCLK, id); });
      }
      widget = list;
      break;
    }
  }
  widget->setGeometry(c.kind == ControlKind::kIcon ? QRect(r.topLeft(), QSize(32, 32)) : r);
  widget->setProperty("kestrelControlId", c.id);
  widget->setProperty("kestrelStyle", c.style);
  widget->setProperty("kestrelText", QByteArray(text.data(), static_cast<qsizetype>(text.size())));
  const bool focusable = c.kind == ControlKind::kEdit || c.kind == ControlKind::kPushButton ||
                         c.kind == ControlKind::kListBox;
  widget->setFocusPolicy(!focusable                    ? Qt::NoFocus
                         : (c.style & WS_TABSTOP) != 0 ? Qt::StrongFocus
                                                       : Qt::ClickFocus);
  if (!(c.style & WS_VISIBLE)) widget->hide();
  if (c.style & WS_DISABLED) widget->setEnabled(false);
  widget->installEventFilter(this);
  controls_.push_back({c.id, c.kind, c.style, widget, mnemonic});
  if (c.kind == ControlKind::kGroupBox) widget->lower();
  return widget;
}

QWidget* DialogWindow::ControlWidget(int id) const {
  for (const Control& control : controls_) {
    if (control.id == id) return control.widget;
  }
  return nullptr;
}

int DialogWindow::ControlIdOf(const QWidget* widget) const {
  for (const Control& control : controls_) {
    if (control.widget == widget) return control.id;
  }
  return 0;
}

int DialogWindow::Run(bool focusFirstTabStop) {
  if (!ended_) {
    CentreOnOwner();
    show();
    activateWindow();
    if (focusFirstTabStop) FocusFirstTabStop();
    UpdateDefaultLook();
    QEventLoop loop;
    loop_ = &loop;
    if (!ended_) loop.exec(QEventLoop::DialogExec);
    loop_ = nullptr;
    hide();
    // The window underneath gets the keyboard back, with or without a window manager.
    if (QWidget* owner = parentWidget()) owner->window()->activateWindow();
  }
  return result_;
}

// Dialogs open centred on the window they belong to, or on the screen.
void DialogWindow::CentreOnOwner() {
  const QScreen* where = screen();
  const QRect available = where ? where->availableGeometry() : QRect();
  const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
  const QRect area = owner ? owner->frameGeometry() : available;
  QRect placed(QPoint(0, 0), frameGeometry().size());
  placed.moveCenter(area.center());
  if (!available.isEmpty()) {
    placed.moveLeft(
        std::max(available.left(), std::min(placed.left(), available.right() - placed.width())));
    placed.moveTop(
        std::max(available.top(), std::min(placed.top(), available.bottom() - placed.height())));
  }
  move(placed.topLeft());
}

void DialogWindow::End(int code) {
  if (ended_) return;
  ended_ = true;
  result_ = code;
  if (loop_ != nullptr) loop_->exit(code);
}

bool DialogWindow::IsTabStop(const Control& control) const {
  return (control.style & WS_TABSTOP) && control.widget->focusPolicy() != Qt::NoFocus &&
         !control.widget->isHidden() && control.widget->isEnabled();
}

const DialogWindow::Control* DialogWindow::FocusedControl() const {
  const QWidget* focus = focusWidget();
  for (const Control& control : controls_) {
    if (control.widget == focus) return &control;
  }
  return nullptr;
}

const DialogWindow::Control* DialogWindow::DefaultButton() const {
  for (const Control& control : controls_) {
    if (control.kind == ControlKind::kPushButton && (control.style & 0xF) == BS_DEFPUSHBUTTON) {
      return &control;
    }
  }
  return nullptr;
}

void DialogWindow::MoveFocus(bool forward) {
  const int count = static_cast<int>(controls_.size());
  if (count == 0) return;
  const Control* focused = FocusedControl();
  int at = focused ? static_cast<int>(focused - controls_.data()) : (forward ? -1 : count);
  for (int step = 0; step < count; ++step) {
    at = ((forward ? at + 1 : at - 1) % count + count) % count;
    const Control& candidate = controls_[static_cast<std::size_t>(at)];
    if (IsTabStop(candidate)) {
      candidate.widget->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
      UpdateDefaultLook();
      return;
    }
  }
}

void DialogWindow::FocusFirstTabStop() {
  for (const Control& control : controls_) {
    if (IsTabStop(control)) {
      control.widget->setFocus(Qt::TabFocusReason);
      return;
    }
  }
}

void DialogWindow::PressEnter() {
  const Control* focused = FocusedControl();
  if (focused && focused->kind == ControlKind::kPushButton) {
    static_cast<QPushButton*>(focused->widget)->click();
    return;
  }
  if (const Control* def = DefaultButton()) {
    if (!def->widget->isHidden() && def->widget->isEnabled()) {
      static_cast<QPushButton*>(def->widget)->click();
    }
    return;
  }
  host_->Command(BN_CLICKED, IDOK);
}

// The focused push button looks like the default one; with the focus
// elsewhere, the template's default button does.
void DialogWindow::UpdateDefaultLook() {
  const Control* focused = FocusedControl();
  const bool buttonFocused = focused && focused->kind == ControlKind::kPushButton;
  for (const Control& control : controls_) {
    if (control.kind != ControlKind::kPushButton) continue;
    const bool isDefault =
        buttonFocused ? &control == focused : (control.style & 0xF) == BS_DEFPUSHBUTTON;
    static_cast<QPushButton*>(control.widget)->setDefault(isDefault);
  }
}

bool DialogWindow::ActivateMnemonic(QChar letter) {
  const int count = static_cast<int>(controls_.size());
  for (int i = 0; i < count; ++i) {
    const Control& control = controls_[static_cast<std::size_t>(i)];
    if (control.mnemonic.isNull() || control.mnemonic != letter.toUpper()) continue;
    if (control.widget->isHidden() || !control.widget->isEnabled()) continue;
    if (control.kind == ControlKind::kPushButton) {
      static_cast<QPushButton*>(control.widget)->click();
      return true;
    }
    // A label's mnemonic moves to the next tab stop after it.
    for (int k = i + 1; k < count; ++k) {
      const Control& next = controls_[static_cast<std::size_t>(k)];
      if (IsTabStop(next)) {
        next.widget->setFocus(Qt::ShortcutFocusReason);
        UpdateDefaultLook();
        return true;
      }
    }
  }
  return false;
}

bool DialogWindow::WantsKey(QKeyEvent* event) const {
  const auto mods = event->modifiers() &
                    (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  switch (event->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
      return !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    default:
      return mods == Qt::AltModifier;
  }
}

bool DialogWindow::HandleKey(QKeyEvent* event) {
  const auto mods = event->modifiers() &
                    (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  const bool plain = !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
  const int key = event->key();
  if ((key == Qt::Key_Tab || key == Qt::Key_Backtab) && plain) {
    MoveFocus(key == Qt::Key_Tab && !(mods & Qt::ShiftModifier));
    return true;
  }
  if ((key == Qt::Key_Return || key == Qt::Key_Enter) && plain) {
    PressEnter();
    return true;
  }
  if (key == Qt::Key_Escape && plain) {
    host_->Command(BN_CLICKED, IDCANCEL);
    return true;
  }
  if (key == Qt::Key_Space && mods == Qt::AltModifier) {
    if (HasSystemMenu()) OpenSystemMenu(mapToGlobal(QPoint(0, 0)));
    return true;
  }
  const bool letter =
      (key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9);
  if (!letter) return false;
  // Alt+letter anywhere; the letter alone while the focus is on a push button,
  // which takes no typing.
  const Control* focused = FocusedControl();
  const bool onButton = focused && focused->kind == ControlKind::kPushButton;
  if (mods == Qt::AltModifier || (mods == Qt::NoModifier && onButton)) {
    return ActivateMnemonic(QChar(key)) || mods == Qt::AltModifier;
  }
  return false;
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    // Keys the dialog manager handles arrive as key presses, not as shortcuts.
    if (WantsKey(static_cast<QKeyEvent*>(event))) {
      event->accept();
      return true;
    }
  } else if (event->type() == QEvent::KeyPress) {
    if (HandleKey(static_cast<QKeyEvent*>(event))) return true;
  } else if (event->type() == QEvent::FocusIn && watched != this) {
    UpdateDefaultLook();
  }
  return QWidget::eventFilter(watched, event);
}

void DialogWindow::closeEvent(QCloseEvent* event) {
  // Only End closes the window. The close box is the system menu's Close.
  event->ignore();
  if (HasSystemMenu()) host_->SysCommand(SC_CLOSE);
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
  // The background: the window itself, its labels, pictures and frames.
  const QWidget* under = childAt(event->pos());
  const bool background = under == nullptr || qobject_cast<const QLabel*>(under) != nullptr ||
                          qobject_cast<const QGroupBox*>(under) != nullptr;
  if (HasSystemMenu() && background) {
    OpenSystemMenu(event->globalPos());
    event->accept();
  }
}

void DialogWindow::OpenSystemMenu(const QPoint& globalPos) {
  const CMenu* items = host_->SystemMenu();
  if (items == nullptr) return;
  QMenu menu(this);
  menu.setObjectName(QStringLiteral("systemMenu"));
  for (const CMenu::Item& item : items->Items()) {
    if (item.flags & MF_SEPARATOR) {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(ToQt(item.text));
    action->setData(item.id);
    action->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
  }
  QPointer<DialogWindow> self(this);
  const QAction* chosen = menu.exec(globalPos);
  if (chosen != nullptr && self) host_->SysCommand(chosen->data().toUInt());
}

void DialogWindow::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  painter_ = &painter;
  host_->Paint();
  painter_ = nullptr;
}

bool DialogWindow::focusNextPrevChild(bool next) {
  MoveFocus(next);
  return true;
}

HICON DialogWindow::SetIcon(HICON icon, bool big) {
  HICON& slot = big ? bigIcon_ : smallIcon_;
  HICON previous = slot;
  slot = icon;
  QIcon windowIcon;
  if (bigIcon_) windowIcon.addPixmap(IconPixmap(bigIcon_, 32));
  if (smallIcon_) windowIcon.addPixmap(IconPixmap(smallIcon_, 16));
  setWindowIcon(windowIcon);
  return previous;
}

void DialogWindow::TextChanged(QWidget* control, std::string_view text) {
  for (Control& c : controls_) {
    if (c.widget != control) continue;
    if (c.kind == ControlKind::kPushButton ||
        (c.kind == ControlKind::kLabel && !(c.style & SS_NOPREFIX))) {
      c.mnemonic = MnemonicOf(text);
    }
  }
}

std::string WindowTextOf(const QWidget* widget) {
  if (widget == nullptr) return {};
  if (widget->isWindow()) return FromQt(widget->windowTitle());
  if (const auto* edit = qobject_cast<const QLineEdit*>(widget)) return FromQt(edit->text());
  return widget->property("kestrelText").toByteArray().toStdString();
}

void SetWindowTextOf(QWidget* widget, std::string_view text) {
  if (widget == nullptr) return;
  if (widget->isWindow()) {
    widget->setWindowTitle(ToQt(text));
    return;
  }
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    edit->setText(ToQt(text));
    return;
  }
  widget->setProperty("kestrelText", QByteArray(text.data(), static_cast<qsizetype>(text.size())));
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    SetLabelText(label, text, widget->property("kestrelStyle").toUInt());
  } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
    button->setText(ToQt(text));
    button->setShortcut(QKeySequence());
  } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    group->setTitle(ToQt(text));
  }
  if (auto* window = dynamic_cast<DialogWindow*>(widget->parentWidget())) {
    window->TextChanged(widget, text);
  }
}

LRESULT ListBoxMessage(QWidget* widget, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* list = qobject_cast<QListView*>(widget);
  auto* model = list ? dynamic_cast<ListBoxModel*>(list->model()) : nullptr;
  if (model == nullptr) return LB_ERR;
  const int count = model->rowCount({});
  switch (message) {
    case LB_ADDSTRING: {
      const char* text = reinterpret_cast<const char*>(lParam);
      return model->Add(ToQt(text ? text : ""));
    }
    case LB_RESETCONTENT:
      model->Clear();
      return 0;
    case LB_GETCOUNT:
      return count;
    case LB_SETCURSEL: {
      const auto index = static_cast<int>(static_cast<LPARAM>(wParam));
      if (index < 0 || index >= count) {
        list->clearSelection();
        list->setCurrentIndex({});
        return LB_ERR;  // also for -1, which clears the selection
      }
      const QModelIndex item = model->index(index);
      list->setCurrentIndex(item);
      list->selectionModel()->select(item, QItemSelectionModel::ClearAndSelect);
      list->scrollTo(item);
      return index;
    }
    case LB_GETCURSEL: {
      const QModelIndexList selected = list->selectionModel()->selectedIndexes();
      return selected.isEmpty() ? LB_ERR : selected.first().row();
    }
    default:
      return LB_ERR;
  }
}

DialogWindow* BuildDialogWindow(const DialogTemplate& t, QWidget* owner, DialogHost* host) {
  const bool appWindow = (t.exStyle & WS_EX_APPWINDOW) != 0;
  auto* window = new DialogWindow(appWindow ? nullptr : owner, host, t.id, t.style, appWindow,
                                  DialogFont(t.fontName, t.pointSize));
  const BaseUnits base = window->Base();
  window->setWindowTitle(ToQt(t.caption ? t.caption : ""));
  window->setFixedSize(DialogXToPixels(t.cx, base), DialogYToPixels(t.cy, base));
  for (const ControlTemplate& c : t.controls) {
    window->AddControl(c, QRect(DialogXToPixels(c.x, base), DialogYToPixels(c.y, base),
                                DialogXToPixels(c.cx, base), DialogYToPixels(c.cy, base)));
  }
  return window;
}

}  // namespace toolkit
