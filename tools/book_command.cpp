// Options, loading and output for the record subcommands.
#include "tools/book_command.h"

#include <cstdio>
#include <iostream>

#include "store/platform/platform.h"
#include "tools/commands.h"

OptionMatch TakeValueOption(const std::vector<std::string>& args, std::size_t& i,
                            std::initializer_list<std::string_view> names, std::string& value,
                            EmptyValue empty) {
  const bool refuseEmpty = empty == EmptyValue::kRefuse;
  const std::string_view arg = args[i];
  for (std::string_view name : names) {
    if (arg == name) {
      if (i + 1 >= args.size() || (refuseEmpty && args[i + 1].empty()))
        return OptionMatch::kMissingValue;
      value = args[++i];
      return OptionMatch::kTaken;
    }
    if (name.starts_with("--") && arg.size() > name.size() && arg.starts_with(name) &&
        arg[name.size()] == '=') {
      if (refuseEmpty && arg.size() == name.size() + 1) return OptionMatch::kMissingValue;
      value = arg.substr(name.size() + 1);
      return OptionMatch::kTaken;
    }
  }
  return OptionMatch::kNo;
}

int PrintCommandHelp(const char* usage, const char* details) {
  std::cout << "usage: kestrel-book " << usage << "\n\n" << details;
  return kExitOk;
}

int LoadBook(RecordStore& store, MissingBook missing) {
  const std::string path = store.fileName;
  if (!platform::StampOf(store.fileName).exists) {
    if (missing == MissingBook::kStartEmpty) return kExitOk;
    return Fail(kExitUsage, path + ": no such file");
  }
  store.SetAnnounceBadChecksum(false);  // the problem goes to standard error below
  store.Load();
  const LoadReport& report = store.loadReport();
  if (!report.fileFound) return Fail(kExitUsage, path + ": no such file");
  if (report.damaged) {
    constexpr std::string_view kUnreadable = "cannot read: ";
    if (report.problem.starts_with(kUnreadable)) {
      return Fail(kExitUsage,
                  path + ": cannot read: " + LowerFirst(report.problem.substr(kUnreadable.size())));
    }
    return Fail(kExitDamaged, path + ": " + report.problem);
  }
  return kExitOk;
}

int WriteOutput(const std::string& path, std::string_view bytes) {
  if (path.empty()) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size() ||
        std::fflush(stdout) != 0) {
      return Fail(kExitDamaged, "standard output: write failed");
    }
    return kExitOk;
  }
  const platform::ReplaceOutcome outcome = platform::ReplaceFile(path, bytes);
  switch (outcome.status) {
    case platform::ReplaceOutcome::Status::replaced:
      return kExitOk;
    case platform::ReplaceOutcome::Status::cannotCreate:
      return Fail(kExitUsage, path + ": cannot create: " + LowerFirst(outcome.reason));
    case platform::ReplaceOutcome::Status::writeFailed:
      break;
  }
  return Fail(kExitDamaged, path + ": " + LowerFirst(outcome.reason));
}
