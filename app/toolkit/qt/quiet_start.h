// The start of Qt, with its failure turned into the program's own message.
// Qt ends the process with "This application failed to start because no Qt
// platform plugin could be initialized. Reinstalling the application may fix
// this problem." and SIGABRT whenever no platform it tries can reach its
// display: DISPLAY naming no X server, Wayland chosen without a compositor,
// an X server that refuses us. Which of those it is only Qt finds out, so
// instead of guessing beforehand, its fatal message is caught as it happens.
#pragma once

#include <string>

namespace toolkit {

// While one exists, Qt's messages are held back; a fatal one writes
// "<program>: no display available; ..." as one line to the standard error
// and ends the process with status 1, at once (nothing half-started is torn
// down). Construct it just before the QApplication, call Started after.
class QuietStart {
 public:
  explicit QuietStart(const char* program);
  // Qt started: its messages go where they went before, the held ones first.
  // The destructor does this too, if not done yet.
  void Started();
  ~QuietStart() { Started(); }
  QuietStart(const QuietStart&) = delete;
  QuietStart& operator=(const QuietStart&) = delete;

 private:
  bool holding_ = true;
};

}  // namespace toolkit
