// The order in which browsing the matches shows the match list and the record
// dialog, kept apart from the dialogs so that it can be driven by any caller:
// the application runs the dialog that Next() names and hands back its result.
#pragma once

namespace browse {

// Result codes of the two dialogs that browsing runs.
inline constexpr int kOk = 1;             // list: a choice was made; record: "View Matching List"
inline constexpr int kCancel = 2;         // either dialog: leave browsing
inline constexpr int kNextRecord = 1020;  // record: "Next Record", also after a delete

// What to show next.
struct Step {
  enum class Dialog { kMatchList, kRecord, kDone };
  Dialog dialog = Dialog::kDone;
  int element = 0;   // kRecord: index into the matches
  int position = 0;  // kRecord: "Matching Record <position> of <count>"
  int count = 0;     // kRecord: the number of matches, or 1 for a single match
};

// Browsing over `matchCount` matches. With two or more it starts at the match
// list; after a choice of element k it shows k, k+1, ... wrapping to 0, with
// positions 1 to N, and opens the list again after the N-th record or on
// "View Matching List". With one match it shows that record again and again.
// Only the cancel code 2 from either dialog ends browsing; any other list
// result counts as a choice, any other record result as "Next Record".
//
// Two guards against a failed modal run (a negative result, as the toolkit
// reports a dialog that could not run): it ends browsing rather than repeat
// the failure forever, and a list choice whose index is not an index of the
// matches ends browsing rather than show a record that does not exist.
class BrowseMachine {
 public:
  // `matchCount` must be at least 1; with 0 browsing is done at once.
  explicit BrowseMachine(int matchCount);

  // The dialog to run now, or kDone once browsing has ended.
  Step Next() const;
  bool Done() const { return state_ == State::kDone; }

  // The match list ended with `result`; `chosenIndex` is the index it stored
  // for a choice. Call only while Next() names the match list.
  void OnListResult(int result, int chosenIndex);

  // The record dialog ended with `result`. Call only while Next() names it.
  void OnRecordResult(int result);

 private:
  enum class State { kList, kView, kSingle, kDone };

  State state_;
  int count_;
  int start_ = 0;     // the element chosen in the list
  int current_ = 0;   // the element shown
  int position_ = 0;  // records viewed since the choice, from 1
};

}  // namespace browse
