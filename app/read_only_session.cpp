// The read-only session's question and its catching up with the other desk.
#include "app/read_only_session.h"

#include <string>

#include "app/toolkit/afxwin.h"
#include "store/holder_words.h"
#include "text/cp1252.h"

namespace read_only {

bool AskToOpen(const RecordStore& store) {
  // The names come in UTF-8 and are shown in the dialogs' Windows-1252.
  const std::string holder = lock_file::HolderWords(store.path(), store.lock());
  CString question;
  question.Format(
      "%s is %s.\n\nOpen it read-only? You can search, view and print, but not change it.",
      cp1252::FromUtf8(store.fileName).text.c_str(), cp1252::FromUtf8(holder).text.c_str());
  return AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool CatchUp(RecordStore& store) {
  if (!store.ChangedOnDisk()) return false;
  store.Load();
  return true;
}

}  // namespace read_only
