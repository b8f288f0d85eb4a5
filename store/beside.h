// One piece of work done on a second thread beside the caller's, where a
// thread can be started: a large book's records' memory is faulted in while
// its text is decoded, and its two halves are parsed at once. Where no
// thread can be started (a tight limit on threads or memory), the work is
// done at once on the caller's thread, so the outcome is the same.
#pragma once

#include <functional>
#include <system_error>
#include <thread>
#include <utility>

class Beside {
 public:
  // Starts `work`, which must not throw, on a thread of its own, or does it
  // before returning when no thread can be started or `worthAThread` is
  // false (the work is too small to gain by one).
  explicit Beside(std::function<void()> work, bool worthAThread = true) : work_(std::move(work)) {
    if (worthAThread) {
      try {
        thread_ = std::thread([this] { work_(); });
        return;
      } catch (const std::system_error&) {
      }
    }
    work_();
  }
  // Waits for the work.
  ~Beside() { Wait(); }
  Beside(const Beside&) = delete;
  Beside& operator=(const Beside&) = delete;

  // Returns once the work is done; what it wrote is then the caller's to read.
  void Wait() {
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::function<void()> work_;
  std::thread thread_;
};
