// Writing DLGTEMPLATEEX: a header, the menu, class and caption, the font,
// then the controls, each DWORD-aligned:
//   dlgVer=1 | signature=0xFFFF | helpID | exStyle | style | cDlgItems | x y cx cy
//   | menu=0 | class=0 | title | pointsize weight italic charset typeface
//   items: helpID | exStyle | style | x y cx cy | id (DWORD) | class | title | extra=0
// The items go in the order the controls are made (CreationOrder).
#include "app/toolkit/win32/dialog_template_ex.h"

#include "app/toolkit/accessible_names.h"
#include "app/toolkit/win32/utf16_text.h"

namespace win32 {
namespace {

class Writer {
 public:
  void Word(std::uint16_t w) { words_.push_back(w); }
  void Dword(std::uint32_t d) {
    Word(static_cast<std::uint16_t>(d & 0xFFFF));
    Word(static_cast<std::uint16_t>(d >> 16));
  }
  void Short(int v) { Word(static_cast<std::uint16_t>(static_cast<std::int16_t>(v))); }
  void Text(const char* cp1252Text) {
    for (const char16_t c : ToUtf16(cp1252Text ? cp1252Text : "")) Word(c);
    Word(0);
  }
  void Ordinal(std::uint16_t value) {
    Word(0xFFFF);
    Word(value);
  }
  void AlignToDword() {
    if (words_.size() % 2 != 0) Word(0);
  }
  std::vector<std::uint16_t> Take() { return std::move(words_); }

 private:
  std::vector<std::uint16_t> words_;
};

std::uint16_t ClassOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::kEdit:
      return kEditClass;
    case ControlKind::kLabel:
    case ControlKind::kIcon:
      return kStaticClass;
    case ControlKind::kListBox:
      return kListBoxClass;
    case ControlKind::kPushButton:
    case ControlKind::kGroupBox:
      break;
  }
  return kButtonClass;
}

}  // namespace

std::vector<std::uint16_t> BuildDialogTemplateEx(const DialogTemplate& t) {
  Writer out;
  out.Word(1);       // dlgVer
  out.Word(0xFFFF);  // signature of the extended form
  out.Dword(0);      // helpID
  out.Dword(t.exStyle);
  out.Dword(t.style | DS_SETFONT);
  out.Word(static_cast<std::uint16_t>(t.controls.size()));
  out.Short(t.x);
  out.Short(t.y);
  out.Short(t.cx);
  out.Short(t.cy);
  out.Word(0);  // no menu
  out.Word(0);  // the dialog class
  out.Text(t.caption);
  out.Word(static_cast<std::uint16_t>(t.pointSize));
  out.Word(400);  // FW_NORMAL
  out.Word(1 << 8);  // italic 0, charset DEFAULT_CHARSET (1)
  out.Text(t.fontName);

  // Each label just before the control it names: Windows names an edit
  // after the static text before it, for screen readers.
  for (const std::size_t index : toolkit::CreationOrder(t)) {
    const ControlTemplate& c = t.controls[index];
    out.AlignToDword();
    out.Dword(0);  // helpID
    out.Dword(0);  // exStyle
    out.Dword(c.kind == ControlKind::kGroupBox ? c.style | kGroupBoxStyle : c.style);
    out.Short(c.x);
    out.Short(c.y);
    out.Short(c.cx);
    out.Short(c.cy);
    out.Dword(static_cast<std::uint32_t>(c.id));
    out.Ordinal(ClassOf(c.kind));
    if (c.kind == ControlKind::kIcon) {
      out.Ordinal(static_cast<std::uint16_t>(c.iconId));
    } else {
      out.Text(c.text);
    }
    out.Word(0);  // no creation data
  }
  return out.Take();
}

}  // namespace win32
