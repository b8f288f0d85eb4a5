// Browsing driven by a scripted user: each line names the dialog the machine
// must ask for and the result the user ends it with.
#include "search/browse_machine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using browse::BrowseMachine;
using browse::Step;
using Dialog = browse::Step::Dialog;

constexpr int kList = -100;  // a script line's `element` for the match list

struct ScriptLine {
  int element;   // kList, or the record element expected
  int position;  // expected for a record
  int result;    // what the user does
  int chosen;    // the list's stored index, for a list line
};

std::string Describe(const Step& step) {
  switch (step.dialog) {
    case Dialog::kMatchList:
      return "list";
    case Dialog::kDone:
      return "done";
    case Dialog::kRecord:
      return "record " + std::to_string(step.element) + " at " + std::to_string(step.position) +
             " of " + std::to_string(step.count);
  }
  return "?";
}

// Plays `script` and checks each step; browsing must end exactly after the last line.
void Play(const char* name, int count, const std::vector<ScriptLine>& script) {
  BrowseMachine machine(count);
  int line = 0;
  for (const ScriptLine& expected : script) {
    ++line;
    const Step step = machine.Next();
    if (expected.element == kList) {
      ASSERT_EQ(step.dialog, Dialog::kMatchList)
          << name << " line " << line << ": " << Describe(step);
      machine.OnListResult(expected.result, expected.chosen);
    } else {
      ASSERT_EQ(step.dialog, Dialog::kRecord) << name << " line " << line << ": " << Describe(step);
      EXPECT_EQ(step.element, expected.element) << name << " line " << line;
      EXPECT_EQ(step.position, expected.position) << name << " line " << line;
      EXPECT_EQ(step.count, count) << name << " line " << line;
      machine.OnRecordResult(expected.result);
    }
  }
  EXPECT_TRUE(machine.Done()) << name << ": still at " << Describe(machine.Next());
  EXPECT_EQ(machine.Next().dialog, Dialog::kDone) << name;
}

constexpr int kOk = browse::kOk;
constexpr int kCancel = browse::kCancel;
constexpr int kNext = browse::kNextRecord;

TEST(BrowseMachineTest, TwoMatchesChooseTheSecond) {
  Play("two", 2, {{kList, 0, kOk, 1}, {1, 1, kNext, 0}, {0, 2, kNext, 0}, {kList, 0, kCancel, 0}});
}

TEST(BrowseMachineTest, WrapsFromTheChosenRecordThroughAll) {
  Play("four from 2", 4,
       {{kList, 0, kOk, 2},
        {2, 1, kNext, 0},
        {3, 2, kNext, 0},
        {0, 3, kNext, 0},
        {1, 4, kNext, 0},
        {kList, 0, kOk, 0},
        {0, 1, kNext, 0},
        {1, 2, kCancel, 0}});
}

TEST(BrowseMachineTest, ViewMatchingListStartsPositionsAgain) {
  Play("back to the list", 3,
       {{kList, 0, kOk, 1},
        {1, 1, kNext, 0},
        {2, 2, kOk, 0},
        {kList, 0, kOk, 2},
        {2, 1, kNext, 0},
        {0, 2, kCancel, 0}});
}

TEST(BrowseMachineTest, ExitFromTheListLeaves) {
  Play("exit at once", 5, {{kList, 0, kCancel, 3}});
}

// A delete ends the record dialog with the next-record code; the emptied
// record stays among the matches and comes round again.
TEST(BrowseMachineTest, DeletedRecordIsShownAgainInItsTurn) {
  Play("delete then wrap", 2,
       {{kList, 0, kOk, 0},
        {0, 1, kNext, 0},  // deleted
        {1, 2, kNext, 0},
        {kList, 0, kOk, 0},
        {0, 1, kCancel, 0}});
}

TEST(BrowseMachineTest, SingleMatchShownUntilCancelled) {
  Play("single", 1,
       {{0, 1, kNext, 0},  // deleted: shown again, emptied
        {0, 1, kOk, 0},    // no list with one match
        {0, 1, 7, 0},
        {0, 1, kCancel, 0}});
}

TEST(BrowseMachineTest, OtherResultsCountAsChoiceOrNext) {
  Play("odd codes", 3,
       {{kList, 0, 1023, 1},
        {1, 1, 1025, 0},
        {2, 2, 0, 0},
        {0, 3, 1020, 0},
        {kList, 0, kCancel, 0}});
}

// A dialog that fails to run must not loop forever nor index past the matches.
TEST(BrowseMachineTest, FailedRunsAndBadIndexesLeave) {
  Play("list failed", 3, {{kList, 0, -1, 0}});
  Play("record failed", 3, {{kList, 0, kOk, 0}, {0, 1, -1, 0}});
  Play("single failed", 1, {{0, 1, -1, 0}});
  Play("index past the end", 3, {{kList, 0, kOk, 3}});
  Play("negative index", 3, {{kList, 0, kOk, -1}});
}

TEST(BrowseMachineTest, NoMatchesIsDoneAtOnce) { Play("none", 0, {}); }

}  // namespace
