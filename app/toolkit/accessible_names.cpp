// Accessible names from the template's labels and texts.
#include "app/toolkit/accessible_names.h"

namespace toolkit {

std::string WithoutMnemonic(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size()) ++i;  // keeps the letter, or the second "&"
    out += text[i];
  }
  return out;
}

std::string ShownText(ControlKind kind, unsigned style, std::string_view text) {
  if (kind == ControlKind::kLabel && (style & SS_NOPREFIX)) return std::string(text);
  return WithoutMnemonic(text);
}

int LabelOf(const DialogTemplate& dialog, std::size_t index) {
  const ControlTemplate& control = dialog.controls[index];
  int best = -1;
  for (std::size_t i = 0; i < dialog.controls.size(); ++i) {
    const ControlTemplate& label = dialog.controls[i];
    if (label.kind != ControlKind::kLabel || label.x + label.cx > control.x + 1) continue;
    // Both doubled, so the middle of an odd height stays a whole number.
    const int middle = 2 * label.y + label.cy;
    if (middle < 2 * control.y || middle > 2 * (control.y + control.cy)) continue;
    if (best < 0 || label.x > dialog.controls[static_cast<std::size_t>(best)].x) {
      best = static_cast<int>(i);
    }
  }
  return best;
}

std::vector<std::size_t> CreationOrder(const DialogTemplate& dialog) {
  const std::size_t count = dialog.controls.size();
  std::vector<int> labelOf(count, -1);
  std::vector<bool> namesAControl(count, false);
  for (std::size_t i = 0; i < count; ++i) {
    const ControlKind kind = dialog.controls[i].kind;
    if (kind != ControlKind::kEdit && kind != ControlKind::kListBox) continue;
    const int label = LabelOf(dialog, i);
    // A label names one control only: the first that claims it.
    if (label < 0 || namesAControl[static_cast<std::size_t>(label)]) continue;
    labelOf[i] = label;
    namesAControl[static_cast<std::size_t>(label)] = true;
  }
  std::vector<std::size_t> order;
  order.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    if (namesAControl[i]) continue;  // comes with its control
    if (labelOf[i] >= 0) order.push_back(static_cast<std::size_t>(labelOf[i]));
    order.push_back(i);
  }
  return order;
}

std::string AccessibleName(const DialogTemplate& dialog, std::size_t index) {
  const ControlTemplate& control = dialog.controls[index];
  switch (control.kind) {
    case ControlKind::kEdit:
    case ControlKind::kListBox: {
      const int label = LabelOf(dialog, index);
      if (label < 0) {
        return control.kind == ControlKind::kListBox && dialog.caption ? dialog.caption : "";
      }
      std::string name = WithoutMnemonic(dialog.controls[static_cast<std::size_t>(label)].text);
      while (!name.empty() && (name.back() == ':' || name.back() == ' ')) name.pop_back();
      return name;
    }
    case ControlKind::kIcon:
      return "";
    default:
      return ShownText(control.kind, control.style, control.text ? control.text : "");
  }
}

}  // namespace toolkit
