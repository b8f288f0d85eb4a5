// The display check of the program's start on Qt.
#include "app/toolkit/qt/display_check.h"

#include "gtest/gtest.h"

namespace {

TEST(DisplayCheckTest, NeedsADisplayOnlyForDisplayServers) {
  struct Row {
    const char* name;
    const char* platform;
    const char* display;
    const char* wayland;
    bool ok;
  } rows[] = {
      {"X display", nullptr, ":0", nullptr, true},
      {"wayland display", nullptr, nullptr, "wayland-0", true},
      {"offscreen", "offscreen", nullptr, nullptr, true},
      {"vnc with options", "vnc:size=800x600", nullptr, nullptr, true},
      {"nothing at all", nullptr, nullptr, nullptr, false},
      {"empty variables", "", "", "", false},
      {"xcb without display", "xcb", nullptr, nullptr, false},
      {"wayland list without display", "wayland;xcb", nullptr, nullptr, false},
      {"xcb with display", "xcb", ":99", nullptr, true},
      {"list with offscreen", "xcb;offscreen", nullptr, nullptr, true},
  };
  for (const Row& row : rows) {
    const std::string problem = DisplayProblem(row.platform, row.display, row.wayland);
    EXPECT_EQ(problem.empty(), row.ok) << row.name;
    if (!row.ok) {
      EXPECT_EQ(problem, "no display available; run it in a desktop session or under xvfb-run")
          << row.name;
    }
  }
}

}  // namespace
