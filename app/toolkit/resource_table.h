// Where the toolkit finds the program's resources: its dialog templates,
// strings and icons. The program names its table once at start-up
// (AfxSetResources); the toolkit itself holds no resources and links none.
#pragma once

#include "app/toolkit/dialog_template.h"

struct ResourceTable {
  const DialogTemplate* (*findDialog)(int id);
  const char* (*findString)(int id);  // Windows-1252
  const IconResource* (*findIcon)(int id);
};

// Makes `table` the program's resources; it must live as long as the program.
void AfxSetResources(const ResourceTable& table);

namespace toolkit {
// Lookups in the program's table; nullptr when it has no such resource or
// no table was given.
const DialogTemplate* FindDialog(int id);
const char* FindString(int id);
const IconResource* FindIcon(int id);
}  // namespace toolkit
