// What a hostile user of the book's folder can plant under a side file's
// name, made inside a test folder, and a snapshot of the folder to show that
// nothing else changed. POSIX only: links, FIFOs, device nodes, owners.
#pragma once

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace planted {

enum class Kind { linkToBook, linkToOther, danglingLink, fifo, device, folder, othersFile };

struct Row {
  Kind kind;
  const char* name;
  const char* words;  // how the program names what it found
};

inline const std::vector<Row>& Rows() {
  static const std::vector<Row> rows = {
      {Kind::linkToBook, "link to the book", "a symbolic link"},
      {Kind::linkToOther, "link to another file", "a symbolic link"},
      {Kind::danglingLink, "dangling link", "a symbolic link"},
      {Kind::fifo, "FIFO", "a FIFO"},
      {Kind::device, "device node", "a device"},
      {Kind::folder, "folder", "a directory"},
      {Kind::othersFile, "another user's file", "another user's file"},
  };
  return rows;
}

// The uid that owns the planted "another user's file": nobody.
inline constexpr uid_t kOtherUser = 65534;

// Beside the book in `folder`: "other.txt", a file of the user's own that a
// link may point at, and "elsewhere/", where a dangling link points.
inline std::string OtherFile(const std::string& folder) { return folder + "/other.txt"; }
inline std::string DanglingTarget(const std::string& folder) { return folder + "/elsewhere/made"; }

// Plants `kind` at `path`, beside the book `book`. Returns "" or what failed.
// The device is the null device's numbers: endless to read, never full.
inline std::string Plant(Kind kind, const std::string& path, const std::string& book,
                         const std::string& folder, const std::string& bytes = "planted bytes\n") {
  std::filesystem::create_directories(folder + "/elsewhere");
  if (!std::filesystem::exists(OtherFile(folder))) std::ofstream(OtherFile(folder)) << "not the book\n";
  int result = 0;
  switch (kind) {
    case Kind::linkToBook:
      result = symlink(book.c_str(), path.c_str());
      break;
    case Kind::linkToOther:
      result = symlink(OtherFile(folder).c_str(), path.c_str());
      break;
    case Kind::danglingLink:
      result = symlink(DanglingTarget(folder).c_str(), path.c_str());
      break;
    case Kind::fifo:
      result = mkfifo(path.c_str(), 0666);
      break;
    case Kind::device:
      result = mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 5));
      break;
    case Kind::folder:
      result = mkdir(path.c_str(), 0777);
      break;
    case Kind::othersFile:
      std::ofstream(path, std::ios::binary) << bytes;
      result = chmod(path.c_str(), 0666) == 0 && chown(path.c_str(), kOtherUser, kOtherUser) == 0 ? 0 : -1;
      break;
  }
  return result == 0 ? "" : "cannot plant at " + path + ": " + std::strerror(errno);
}

// Every name under `folder` with what it is: a link's target, a regular
// file's owner and bytes, the kind of anything else. Compared before and
// after, it shows every change the program made.
inline std::map<std::string, std::string> Snapshot(const std::string& folder) {
  std::map<std::string, std::string> seen;
  std::error_code error;
  for (auto it = std::filesystem::recursive_directory_iterator(folder, error);
       it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
    const std::string path = it->path().string();
    struct stat info {};
    lstat(path.c_str(), &info);
    std::string what;
    if (S_ISLNK(info.st_mode)) {
      what = "link to " + std::filesystem::read_symlink(path, error).string();
    } else if (S_ISREG(info.st_mode)) {
      std::ifstream in(path, std::ios::binary);
      std::ostringstream bytes;
      bytes << in.rdbuf();
      what = "file of " + std::to_string(info.st_uid) + " mode " + std::to_string(info.st_mode & 0777) +
             ": " + bytes.str();
    } else {
      what = "kind " + std::to_string(info.st_mode & S_IFMT);
    }
    seen[path.substr(folder.size())] = what;
  }
  return seen;
}

}  // namespace planted
