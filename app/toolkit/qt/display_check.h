// Whether the toolkit can open windows at all, decided before it starts: the
// windowing library ends the process when it finds no display.
#pragma once

#include <string>

// Why no window can be shown, as the program says it.
inline constexpr char kNoDisplayMessage[] =
    "no display available; run it in a desktop session or under xvfb-run";

// Empty when a window can be shown. Otherwise the reason, one line without
// the program's name: "no display available; run it in a desktop session or
// under xvfb-run". Arguments are the values of QT_QPA_PLATFORM, DISPLAY and
// WAYLAND_DISPLAY, nullptr when unset. A platform other than xcb or wayland
// (offscreen, vnc, ...) needs no display variable.
std::string DisplayProblem(const char* qpaPlatform, const char* display,
                           const char* waylandDisplay);
