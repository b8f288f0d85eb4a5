// Lookup of the program's resources: dialog templates, strings and icons.
// The data is plain and constant; it lives as long as the program.
#pragma once

#include "app/toolkit/dialog_template.h"
#include "app/toolkit/resource_table.h"

// The template numbered id, or nullptr when the program has none.
const DialogTemplate* FindDialogTemplate(int id);

// String resource id in Windows-1252, or nullptr when the program has none.
const char* FindStringResource(int id);

// Icon resource id, or nullptr when the program has none.
const IconResource* FindIconResource(int id);

// All three, for AfxSetResources.
const ResourceTable& ProgramResources();
