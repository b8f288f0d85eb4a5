// The names a screen reader gives a dialog's controls, from the template
// alone, so that every backend names them alike: an edit is called by the
// label on its row ("Last Name"), a button by its text ("Save Changes"), a
// list box by the dialog's caption ("Matching Records").
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "app/toolkit/dialog_template.h"

namespace toolkit {

// `text` as it reads: each "&" that marks a mnemonic dropped, "&&" as "&".
std::string WithoutMnemonic(std::string_view text);

// A control's text as it reads on screen: without mnemonic marks, except in
// a label marked SS_NOPREFIX, which shows every "&".
std::string ShownText(ControlKind kind, unsigned style, std::string_view text);

// The label that names control `index` of `dialog`: the nearest label to
// its left whose middle lies within the control's height. -1 for none.
int LabelOf(const DialogTemplate& dialog, std::size_t index);

// The order to create the controls of `dialog` in, as template indexes:
// each label that names a control (LabelOf) just before that control, every
// other control where the template has it. Windows names an edit after the
// static text just before it; labels are no tab stops, so the tab order
// among the other controls stays the template's.
std::vector<std::size_t> CreationOrder(const DialogTemplate& dialog);

// The accessible name of control `index`: for an edit the text of its label
// without "&" and without a closing colon ("Parent's Phone"); for a list box
// the same, else the dialog's caption; for anything else ShownText. Empty
// for an icon.
std::string AccessibleName(const DialogTemplate& dialog, std::size_t index);

}  // namespace toolkit
