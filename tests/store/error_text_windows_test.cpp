// The store's error words on Windows are the system's own (FormatMessageW),
// as Windows users read them elsewhere, not the C library's POSIX words.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "store/platform/platform.h"

namespace {

TEST(ErrorTextOnWindows, SystemErrorsReadInWindowsWords) {
  for (const int error : {EACCES, ENOENT, ENOSPC}) {
    const std::string text = platform::ErrorText(error);
    EXPECT_NE(text, std::strerror(error)) << "errno " << error;
    ASSERT_FALSE(text.empty()) << "errno " << error;
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
    EXPECT_NE(text.back(), '.') << text;
  }
  EXPECT_EQ(platform::ErrorText(platform::kNotRegularFile), "not a regular file");
}

}  // namespace
