// The dialog manager's rules on plain control states.
#include "app/toolkit/dialog_rules.h"

namespace toolkit {

namespace {

bool IsDefaultButton(const ControlState& c) {
  return c.kind == ControlKind::kPushButton && (c.style & 0xF) == BS_DEFPUSHBUTTON;
}

int Count(std::span<const ControlState> controls) { return static_cast<int>(controls.size()); }

}  // namespace

char MnemonicOf(std::string_view text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    const char c = text[i + 1];
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return '\0';
}

char MnemonicFor(ControlKind kind, unsigned style, std::string_view text) {
  if (kind == ControlKind::kPushButton) return MnemonicOf(text);
  if (kind == ControlKind::kLabel && !(style & SS_NOPREFIX)) return MnemonicOf(text);
  return '\0';
}

bool IsTabStop(const ControlState& c) {
  const bool focusable = c.kind == ControlKind::kEdit || c.kind == ControlKind::kPushButton ||
                         c.kind == ControlKind::kListBox;
  return focusable && (c.style & WS_TABSTOP) && c.visible && c.enabled;
}

int NextTabStop(std::span<const ControlState> controls, int from, bool forward) {
  const int count = Count(controls);
  if (count == 0) return -1;
  int at = from >= 0 && from < count ? from : (forward ? -1 : count);
  for (int step = 0; step < count; ++step) {
    at = ((forward ? at + 1 : at - 1) % count + count) % count;
    if (IsTabStop(controls[static_cast<std::size_t>(at)])) return at;
  }
  return -1;
}

int DefaultLookButton(std::span<const ControlState> controls, int focused) {
  if (focused >= 0 && focused < Count(controls) &&
      controls[static_cast<std::size_t>(focused)].kind == ControlKind::kPushButton) {
    return focused;
  }
  for (int i = 0; i < Count(controls); ++i) {
    if (IsDefaultButton(controls[static_cast<std::size_t>(i)])) return i;
  }
  return -1;
}

EnterAction OnEnter(std::span<const ControlState> controls, int focused) {
  if (focused >= 0 && focused < Count(controls) &&
      controls[static_cast<std::size_t>(focused)].kind == ControlKind::kPushButton) {
    return {EnterAction::kClick, focused};
  }
  for (int i = 0; i < Count(controls); ++i) {
    const ControlState& c = controls[static_cast<std::size_t>(i)];
    if (!IsDefaultButton(c)) continue;
    if (c.visible && c.enabled) return {EnterAction::kClick, i};
    return {EnterAction::kNothing, -1};
  }
  return {EnterAction::kCommandOk, -1};
}

MnemonicAction OnMnemonic(std::span<const ControlState> controls, char letter) {
  if (letter == '\0') return {MnemonicAction::kNone, -1};
  for (int i = 0; i < Count(controls); ++i) {
    const ControlState& c = controls[static_cast<std::size_t>(i)];
    if (c.mnemonic != letter || !c.visible || !c.enabled) continue;
    if (c.kind == ControlKind::kPushButton) return {MnemonicAction::kClick, i};
    for (int k = i + 1; k < Count(controls); ++k) {
      if (IsTabStop(controls[static_cast<std::size_t>(k)])) return {MnemonicAction::kFocus, k};
    }
  }
  return {MnemonicAction::kNone, -1};
}

}  // namespace toolkit
