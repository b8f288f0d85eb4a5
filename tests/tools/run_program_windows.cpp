// Running a program on Windows: the arguments split as a POSIX shell would,
// then quoted for the C runtime's own splitting, and CreateProcessW with the
// standard streams on files.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <vector>

#include "run_program.h"

namespace {

std::vector<std::string> ShellWords(const std::string& args) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const char c = args[i];
    if (c == ' ' || c == '\t') {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else if (c == '\'') {
      inWord = true;
      while (++i < args.size() && args[i] != '\'') word += args[i];
    } else if (c == '"') {
      inWord = true;
      while (++i < args.size() && args[i] != '"') {
        if (args[i] == '\\' && i + 1 < args.size()) ++i;
        word += args[i];
      }
    } else {
      inWord = true;
      if (c == '\\' && i + 1 < args.size()) ++i;
      word += args[i];
    }
  }
  if (inWord) words.push_back(word);
  return words;
}

// One argument as the C runtime reads it back: quoted, with the backslashes
// before a quote doubled.
std::string Quoted(const std::string& word) {
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (const char c : word) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(2 * backslashes, '\\');
  return quoted + "\"";
}

std::wstring Wide(const std::string& text) {
  const int needed = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), needed);
  return wide;
}

HANDLE OpenStream(const std::string& path, bool write) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return CreateFileW(Wide(path).c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                     FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                     write ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

int RunProgram(const std::string& folder, const std::string& program, const std::string& args,
               const std::string& input, const std::string& out, const std::string& err) {
  std::string commandLine = Quoted(program);
  for (const std::string& word : ShellWords(args)) commandLine += " " + Quoted(word);
  const HANDLE in = OpenStream(folder + "/" + input, /*write=*/false);
  const HANDLE output = OpenStream(folder + "/" + out, /*write=*/true);
  const HANDLE error = OpenStream(folder + "/" + err, /*write=*/true);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in;
  startup.hStdOutput = output;
  startup.hStdError = error;
  PROCESS_INFORMATION process{};
  std::wstring line = Wide(commandLine);
  const BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      Wide(folder).c_str(), &startup, &process);
  for (const HANDLE h : {in, output, error}) {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  if (!started) return -1;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 0;
  GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<int>(status);
}
