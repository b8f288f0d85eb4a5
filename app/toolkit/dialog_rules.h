// The dialog manager's rules that need no window: which control the Tab
// key, Enter and a mnemonic letter reach. A backend that emulates the
// dialog manager asks these with the state of its controls; a backend on
// the system's own dialog manager does not need them.
#pragma once

#include <span>
#include <string_view>

#include "app/toolkit/dialog_template.h"

namespace toolkit {

// A control of a running dialog, in template order.
struct ControlState {
  ControlKind kind;
  unsigned style;  // the template's style bits
  bool visible;
  bool enabled;
  char mnemonic;  // see MnemonicOf; '\0' for none
};

// The letter after the first single "&" of a control text, with a-z
// upper-cased, or '\0'. "&&" stands for "&" itself.
char MnemonicOf(std::string_view text);

// The mnemonic of a control with this text, kind and style: labels marked
// SS_NOPREFIX and controls that show no text have none.
char MnemonicFor(ControlKind kind, unsigned style, std::string_view text);

// A control the keyboard can reach: an edit, push button or list box with
// WS_TABSTOP that is visible and enabled.
bool IsTabStop(const ControlState& control);

// The tab stop after (or before) index `from` in template order, wrapping
// around; `from` -1 starts before the first control. -1 when there is none.
int NextTabStop(std::span<const ControlState> controls, int from, bool forward);

// The push button that looks like the default one: the focused push button,
// else the template's default button. -1 for none.
int DefaultLookButton(std::span<const ControlState> controls, int focused);

// What Enter does with the focus on control `focused` (-1: none).
struct EnterAction {
  enum Kind { kClick, kNothing, kCommandOk } kind;
  int control;  // kClick: the button clicked
};
// A focused push button is clicked; else the template's default button if
// it is visible and enabled, nothing if it is not; without a default button
// the dialog gets the command IDOK.
EnterAction OnEnter(std::span<const ControlState> controls, int focused);

// What a mnemonic letter (upper-case) does.
struct MnemonicAction {
  enum Kind { kNone, kClick, kFocus } kind;
  int control;
};
// The first visible, enabled control with that mnemonic: a push button is
// clicked; a label moves the focus to the next tab stop after it.
MnemonicAction OnMnemonic(std::span<const ControlState> controls, char letter);

}  // namespace toolkit
