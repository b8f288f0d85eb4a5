// The dialog manager's rules on plain control states, no windows.
#include "app/toolkit/dialog_rules.h"

#include <vector>

#include "gtest/gtest.h"

namespace {

using toolkit::ControlState;
using toolkit::EnterAction;
using toolkit::MnemonicAction;

constexpr unsigned kStop = WS_TABSTOP;

ControlState Edit() { return {ControlKind::kEdit, kStop, true, true, '\0'}; }
ControlState Label(char mnemonic) { return {ControlKind::kLabel, 0, true, true, mnemonic}; }
ControlState Button(char mnemonic, bool isDefault = false) {
  return {ControlKind::kPushButton, kStop | (isDefault ? BS_DEFPUSHBUTTON : 0u), true, true,
          mnemonic};
}

TEST(DialogRulesTest, MnemonicIsTheLetterAfterTheFirstSingleAmpersand) {
  EXPECT_EQ(toolkit::MnemonicOf("Save and E&xit"), 'X');
  EXPECT_EQ(toolkit::MnemonicOf("Fish && &Chips"), 'C');
  EXPECT_EQ(toolkit::MnemonicOf("Fish && Chips&"), '\0');
  EXPECT_EQ(toolkit::MnemonicFor(ControlKind::kLabel, SS_NOPREFIX, "&Kestrel"), '\0');
  EXPECT_EQ(toolkit::MnemonicFor(ControlKind::kEdit, 0, "&text"), '\0');
}

TEST(DialogRulesTest, TabWrapsInTemplateOrderSkippingWhatCannotTakeTheFocus) {
  // 0 edit, 1 label, 2 hidden edit, 3 disabled button, 4 button, 5 edit without WS_TABSTOP
  std::vector<ControlState> c = {Edit(), Label('\0'), Edit(), Button('\0'), Button('\0'), Edit()};
  c[2].visible = false;
  c[3].enabled = false;
  c[5].style = 0;
  EXPECT_EQ(toolkit::NextTabStop(c, -1, true), 0);
  EXPECT_EQ(toolkit::NextTabStop(c, 0, true), 4);
  EXPECT_EQ(toolkit::NextTabStop(c, 4, true), 0) << "wraps";
  EXPECT_EQ(toolkit::NextTabStop(c, 0, false), 4) << "backwards, wrapping";
  EXPECT_EQ(toolkit::NextTabStop(c, 5, true), 0) << "from a control that is no tab stop";
  EXPECT_EQ(toolkit::NextTabStop(std::vector<ControlState>{Label('A')}, -1, true), -1);
}

TEST(DialogRulesTest, EnterClicksTheFocusedButtonElseAShownDefaultElseSendsOk) {
  std::vector<ControlState> c = {Edit(), Button('\0'), Button('\0', /*isDefault=*/true)};
  EXPECT_EQ(toolkit::OnEnter(c, 1).kind, EnterAction::kClick);
  EXPECT_EQ(toolkit::OnEnter(c, 1).control, 1);
  EXPECT_EQ(toolkit::OnEnter(c, 0).control, 2) << "the default button";
  EXPECT_EQ(toolkit::DefaultLookButton(c, 0), 2);
  EXPECT_EQ(toolkit::DefaultLookButton(c, 1), 1) << "a focused button looks like the default";
  c[2].visible = false;
  EXPECT_EQ(toolkit::OnEnter(c, 0).kind, EnterAction::kNothing) << "hidden default";
  c[2].visible = true;
  c[2].enabled = false;
  EXPECT_EQ(toolkit::OnEnter(c, 0).kind, EnterAction::kNothing) << "disabled default";
  c.pop_back();
  EXPECT_EQ(toolkit::OnEnter(c, 0).kind, EnterAction::kCommandOk) << "no default button";
}

TEST(DialogRulesTest, MnemonicClicksAButtonOrFocusesTheTabStopAfterALabel) {
  std::vector<ControlState> c = {Button('N'), Label('L'), Label('\0'), Edit(), Button('N')};
  EXPECT_EQ(toolkit::OnMnemonic(c, 'N').kind, MnemonicAction::kClick);
  EXPECT_EQ(toolkit::OnMnemonic(c, 'N').control, 0);
  EXPECT_EQ(toolkit::OnMnemonic(c, 'L').kind, MnemonicAction::kFocus);
  EXPECT_EQ(toolkit::OnMnemonic(c, 'L').control, 3);
  c[0].visible = false;
  EXPECT_EQ(toolkit::OnMnemonic(c, 'N').control, 4) << "a hidden button is passed over";
  EXPECT_EQ(toolkit::OnMnemonic(c, 'Q').kind, MnemonicAction::kNone);
}

}  // namespace
