// Where the toolkit opens a window: centred on its owner or the work area,
// never sticking out of the work area; and which dialogs it places at all.
#include "app/toolkit/window_placement.h"

#include <gtest/gtest.h>

#include <array>

namespace {

using toolkit::CentredOn;
using toolkit::ToolkitPlacesDialog;

TEST(WindowPlacement, CentredOnItsOwnerAndKeptInsideTheWorkArea) {
  const CRect work{0, 0, 1920, 1040};  // a task bar below
  struct Case {
    const char* what;
    CRect window, over, want;
  } cases[] = {
      {"on an owner in the corner, as the About box",
       {0, 0, 200, 100},
       {0, 0, 600, 400},
       {200, 150, 400, 250}},
      {"on the work area, as the main form", {0, 0, 520, 480}, work, {700, 280, 1220, 760}},
      {"an owner half off the right edge",
       {0, 0, 400, 300},
       {1700, 500, 2300, 900},
       {1520, 550, 1920, 850}},
      {"an owner above the top edge", {0, 0, 400, 300}, {100, -500, 500, -100}, {100, 0, 500, 300}},
      {"larger than the work area: its top-left corner shows",
       {0, 0, 2000, 1200},
       work,
       {0, 0, 2000, 1200}},
  };
  for (const Case& c : cases) {
    const CRect got = CentredOn(c.window, c.over, work);
    EXPECT_EQ((std::array{got.left, got.top, got.right, got.bottom}),
              (std::array{c.want.left, c.want.top, c.want.right, c.want.bottom}))
        << c.what;
  }
}

TEST(WindowPlacement, PlacesDialogsHiddenAtCreationAndWindowsWithoutOwner) {
  struct Case {
    bool hasOwner, visibleAtCreation, movedByInit, placed;
  } cases[] = {
      {true, false, false, true},   // the record dialog, the match list, the About box
      {false, true, false, true},   // the main form, visible at (0, 0) in its template
      {false, false, false, true},  // a hidden dialog of no window
      {true, true, false, false},   // visible with an owner: its template says where
      {true, false, true, false},   // its init handler moved it
      {false, true, true, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ToolkitPlacesDialog(c.hasOwner, c.visibleAtCreation, c.movedByInit), c.placed)
        << "owner " << c.hasOwner << ", visible " << c.visibleAtCreation << ", moved "
        << c.movedByInit;
  }
}

}  // namespace
