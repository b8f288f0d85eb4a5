// Steps of browsing: List, View and Single, driven by dialog result codes.
#include "search/browse_machine.h"

namespace browse {

BrowseMachine::BrowseMachine(int matchCount)
    : state_(matchCount >= 2   ? State::kList
             : matchCount == 1 ? State::kSingle
                               : State::kDone),
      count_(matchCount) {}

Step BrowseMachine::Next() const {
  switch (state_) {
    case State::kList:
      return {Step::Dialog::kMatchList, 0, 0, 0};
    case State::kView:
      return {Step::Dialog::kRecord, current_, position_, count_};
    case State::kSingle:
      return {Step::Dialog::kRecord, 0, 1, 1};
    case State::kDone:
      break;
  }
  return {};
}

void BrowseMachine::OnListResult(int result, int chosenIndex) {
  if (state_ != State::kList) return;
  if (result == kCancel || result < 0 || chosenIndex < 0 || chosenIndex >= count_) {
    state_ = State::kDone;
    return;
  }
  state_ = State::kView;
  start_ = current_ = chosenIndex;
  position_ = 1;
}

void BrowseMachine::OnRecordResult(int result) {
  if (state_ != State::kView && state_ != State::kSingle) return;
  if (result == kCancel || result < 0) {
    state_ = State::kDone;
    return;
  }
  if (state_ == State::kSingle) return;  // shown again until cancelled
  if (result == kOk) {
    state_ = State::kList;
    return;
  }
  current_ = current_ + 1 == count_ ? 0 : current_ + 1;
  ++position_;
  if (current_ == start_) state_ = State::kList;
}

}  // namespace browse
