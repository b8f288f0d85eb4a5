// Xvfb started and ended, and MapNotify events of the root window's children.
#include "x_screen.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

VirtualScreen::VirtualScreen() {
  int pipeFds[2];
  if (pipe(pipeFds) != 0) {
    failure_ = "no pipe for the display number";
    return;
  }
  server_ = fork();
  if (server_ == 0) {
    close(pipeFds[0]);
    const std::string fd = std::to_string(pipeFds[1]);
    // -noreset: the server must not start over each time its last client goes.
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-noreset", "-screen",
           "0", "1024x768x24", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(pipeFds[1]);
  if (server_ < 0) {
    close(pipeFds[0]);
    failure_ = "cannot start Xvfb";
    return;
  }
  // The server writes the number once it accepts clients; the pipe closes
  // without one when it failed to start (or Xvfb is not installed).
  std::string number;
  char c;
  pollfd ready{pipeFds[0], POLLIN, 0};
  while (poll(&ready, 1, 10000) == 1 && read(pipeFds[0], &c, 1) == 1 && c != '\n') number += c;
  close(pipeFds[0]);
  if (number.empty()) {
    failure_ = "Xvfb did not start (is it installed?)";
    return;
  }
  display_ = ":" + number;
}

VirtualScreen::~VirtualScreen() {
  if (server_ <= 0) return;
  kill(server_, SIGTERM);
  int status;
  while (waitpid(server_, &status, 0) < 0 && errno == EINTR) {
  }
}

MapWatch::MapWatch(const std::string& display) {
  display_ = XOpenDisplay(display.c_str());
  if (display_ == nullptr) return;
  XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
  XSync(display_, False);
}

MapWatch::~MapWatch() {
  if (display_ != nullptr) XCloseDisplay(display_);
}

void MapWatch::Forget() {
  XSync(display_, True);  // True: the events queued so far are dropped
}

bool MapWatch::WaitForMapped(const std::string& title, std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    while (XPending(display_) > 0) {
      XEvent event;
      XNextEvent(display_, &event);
      if (event.type != MapNotify || event.xmap.override_redirect) continue;
      char* name = nullptr;
      const bool titled = XFetchName(display_, event.xmap.window, &name) != 0 && name != nullptr &&
                          title == name;
      if (name != nullptr) XFree(name);
      if (titled) return true;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return false;
    pollfd readable{ConnectionNumber(display_), POLLIN, 0};
    poll(&readable, 1, static_cast<int>(left.count()));
  }
}
