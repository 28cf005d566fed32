#include "child_process.h"

#include <string>
#include <vector>

DWORD RunTestInChildProcess(const char* testName) {
  char self[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return ~0u;
  std::string command = std::string("\"") + self + "\" --gtest_also_run_disabled_tests" +
                        " --gtest_filter=" + testName;
  std::vector<char> commandLine(command.begin(), command.end());
  commandLine.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return ~0u;
  }
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = ~0u;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return exitCode;
}
