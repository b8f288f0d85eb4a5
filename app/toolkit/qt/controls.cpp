// Control creation: one widget per template control, with its text, style,
// position and id.
#include "app/toolkit/qt/controls.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

#include "text/cp1252.h"
#include "text/field_text.h"
#include "app/toolkit/accessible_names.h"
#include "app/toolkit/qt/dialog_window.h"
#include "app/toolkit/qt/icons.h"
#include "app/toolkit/qt/list_box.h"
#include "app/toolkit/qt/qt_text.h"
#include "app/toolkit/resource_table.h"

namespace toolkit {
namespace {

// A single-line edit holds one line of Windows-1252, as a field does: what
// would break the line (field_text::OneLine), typed or pasted, becomes a
// blank, and characters the code page cannot hold become '?' as they
// arrive, so the edit shows what will be stored.
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
      const char32_t one = field_text::OneLine(c.unicode());
      unsigned char byte = 0;
      out += cp1252::FromUnicode(one, &byte) ? QChar(static_cast<char16_t>(one)) : QChar(u'?');
    }
    input = out;
    pos = std::min<int>(newPos, static_cast<int>(input.size()));
    return Acceptable;
  }
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

QWidget* MakeWidget(DialogWindow& window, const ControlTemplate& c, std::string_view text) {
  switch (c.kind) {
    case ControlKind::kEdit: {
      auto* edit = new QLineEdit(&window);
      edit->setValidator(new SingleLineCp1252Validator(edit));
      edit->setFrame((c.style & WS_BORDER) != 0);
      edit->setText(ToQt(text));
      const int id = c.id;
      QObject::connect(edit, &QLineEdit::textChanged, &window,
                       [&window, id] { window.Events()->Command(EN_CHANGE, id); });
      return edit;
    }
    case ControlKind::kLabel: {
      auto* label = new QLabel(&window);
      SetLabelText(label, text, c.style);
      label->setWordWrap(true);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      return label;
    }
    case ControlKind::kPushButton: {
      auto* button = new QPushButton(ToQt(text), &window);
      // The dialog manager handles mnemonics and Enter itself, the same way
      // for every control, so Qt's own shortcut and default logic stay off.
      button->setShortcut(QKeySequence());
      button->setAutoDefault(false);
      button->setDefault((c.style & 0xF) == BS_DEFPUSHBUTTON);
      const int id = c.id;
      QObject::connect(button, &QPushButton::clicked, &window,
                       [&window, id] { window.Events()->Command(BN_CLICKED, id); });
      return button;
    }
    case ControlKind::kGroupBox: {
      auto* group = new QGroupBox(ToQt(text), &window);
      const BaseUnits base = window.Base();
      // The title sits on the frame's top line, inside the template's rectangle.
      group->setStyleSheet(
          QStringLiteral(
              "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: %1px; }"
              "QGroupBox::title { subcontrol-origin: margin; left: %2px; padding: 0 2px; }")
              .arg(base.y / 2)
              .arg(base.x));
      // A frame drawn behind the controls it surrounds: never in the way of a click.
      group->setAttribute(Qt::WA_TransparentForMouseEvents);
      return group;
    }
    case ControlKind::kIcon: {
      auto* label = new QLabel(&window);
      const IconResource* icon = FindIcon(c.iconId);
      label->setPixmap(icon ? IconPixmap(LoadIconResource(*icon), 32) : QPixmap());
      return label;
    }
    case ControlKind::kListBox: {
      QListView* list = MakeListBox(&window, c.style);
      if (c.style & LBS_NOTIFY) {
        const int id = c.id;
        QObject::connect(list, &QListView::doubleClicked, &window,
                         [&window, id] { window.Events()->Command(LBN_DBLCLK, id); });
      }
      return list;
    }
  }
  return nullptr;
}

}  // namespace

QWidget* MakeControl(DialogWindow& window, const ControlTemplate& c, const QRect& r) {
  const std::string_view text = c.text ? c.text : "";
  QWidget* widget = MakeWidget(window, c, text);
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
  // What a screen reader reads: the text as shown. An edit or list box is
  // named after its label once the whole template is there (BuildDialogWindow).
  if (c.kind != ControlKind::kEdit && c.kind != ControlKind::kListBox) {
    widget->setAccessibleName(ToQt(ShownText(c.kind, c.style, text)));
  }
  return widget;
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
  if (auto* window = dynamic_cast<DialogWindow*>(widget->parentWidget())) {
    for (const DialogWindow::Control& c : window->Controls()) {
      if (c.widget == widget && c.kind != ControlKind::kEdit && c.kind != ControlKind::kListBox) {
        widget->setAccessibleName(ToQt(ShownText(c.kind, c.style, text)));
      }
    }
  }
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

}  // namespace toolkit
