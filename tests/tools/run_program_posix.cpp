// Running a program through the shell, on POSIX.
#include <sys/wait.h>

#include <cstdlib>

#include "run_program.h"

int RunProgram(const std::string& folder, const std::string& program, const std::string& args,
               const std::string& input, const std::string& out, const std::string& err) {
  const std::string command = "cd '" + folder + "' && '" + program + "' " + args + " < '" + input +
                              "' > '" + out + "' 2> '" + err + "'";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
