// The string table of the program.
#include "res/resource.h"
#include "res/resources.h"

namespace {

struct StringEntry {
  int id;
  const char* text;  // Windows-1252
};

constexpr StringEntry kStrings[] = {
    {IDS_ABOUTBOX, "&About Kestrel"},
    {IDS_PRINT, "&Print..."},
};

}  // namespace

const char* FindStringResource(int id) {
  for (const StringEntry& entry : kStrings) {
    if (entry.id == id) return entry.text;
  }
  return nullptr;
}
