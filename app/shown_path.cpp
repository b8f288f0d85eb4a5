// Paths as the program shows them in its messages.
#include "app/shown_path.h"

#include <filesystem>
#include <system_error>

#include "text/cp1252.h"

std::string ShownPath(const char* fileName) {
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(fileName, error);
  return cp1252::FromUtf8(error ? std::string(fileName) : full.string()).text;
}
