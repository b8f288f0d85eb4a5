// The program's resource table.
#include "app/toolkit/resource_table.h"

namespace {
const ResourceTable* programResources = nullptr;
}  // namespace

void AfxSetResources(const ResourceTable& table) { programResources = &table; }

namespace toolkit {

const DialogTemplate* FindDialog(int id) {
  return programResources ? programResources->findDialog(id) : nullptr;
}
const char* FindString(int id) {
  return programResources ? programResources->findString(id) : nullptr;
}
const IconResource* FindIcon(int id) {
  return programResources ? programResources->findIcon(id) : nullptr;
}

}  // namespace toolkit
