// Keeps a copy of a file beside it under the first free backup name, before
// the file is replaced.
#pragma once

#include <string>

struct BackupResult {
  bool ok = false;
  std::string path;    // the backup's name, when ok
  std::string reason;  // the system's words, when not ok
};

// Makes "<path>.bak" (or "<path>.bak.1", ".bak.2", ... when taken) hold the
// current contents of `path`, as a second name of the same file where the
// file system allows it, otherwise as a copy. Never overwrites an existing
// file. On failure nothing is left behind.
BackupResult KeepBackup(const std::string& path);
