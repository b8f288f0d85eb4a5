// The program's resources as one table for the toolkit.
#include "res/resources.h"

const ResourceTable& ProgramResources() {
  static const ResourceTable table = {FindDialogTemplate, FindStringResource, FindIconResource};
  return table;
}
