// A private X server for benchmarks that start the real program, and a watch
// on it that sees a top-level window the moment it is mapped: the program's
// window has appeared, told by the server itself, not found by polling.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>

struct _XDisplay;

// Xvfb on a display number it picks itself (-displayfd), so parallel runs
// never collide. Ended when this goes.
class VirtualScreen {
 public:
  VirtualScreen();
  ~VirtualScreen();
  VirtualScreen(const VirtualScreen&) = delete;
  VirtualScreen& operator=(const VirtualScreen&) = delete;

  // ":N", or empty when the server did not start (see failure()).
  const std::string& display() const { return display_; }
  const std::string& failure() const { return failure_; }

 private:
  pid_t server_ = -1;
  std::string display_;
  std::string failure_;
};

// A client of the server that is told of every top-level window mapped.
class MapWatch {
 public:
  explicit MapWatch(const std::string& display);
  ~MapWatch();
  MapWatch(const MapWatch&) = delete;
  MapWatch& operator=(const MapWatch&) = delete;

  bool connected() const { return display_ != nullptr; }
  // Forgets the windows mapped so far.
  void Forget();
  // Waits until a top-level window titled exactly `title` is mapped; false
  // when none is within `limit`.
  bool WaitForMapped(const std::string& title, std::chrono::milliseconds limit);

 private:
  _XDisplay* display_ = nullptr;
};
