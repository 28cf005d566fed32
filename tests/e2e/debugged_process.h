// Runs a program as our debuggee (DEBUG_ONLY_THIS_PROCESS) so that every
// OutputDebugStringA it writes is captured byte for byte. Debug events are
// delivered to the thread that created the process, so a thread of our own
// creates it and runs the debug loop until the process exits.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

class DebuggedProcess {
 public:
  DebuggedProcess() = default;
  ~DebuggedProcess();
  DebuggedProcess(const DebuggedProcess&) = delete;
  DebuggedProcess& operator=(const DebuggedProcess&) = delete;

  // Starts the program; false (with a reason) when it could not be started.
  bool Start(const std::string& program, std::string* error);
  DWORD Id() const { return processId_; }
  // Performance-counter reading taken just before CreateProcess.
  LONGLONG StartedAt() const { return startedAt_; }

  // Every debug string so far, in order, exactly as written (no terminator).
  std::vector<std::string> DebugStrings() const;
  bool WaitForExit(DWORD timeoutMs);
  bool HasExited() const;
  DWORD ExitCode() const;
  void Kill();

 private:
  void DebugLoop(std::string program);
  void OnDebugString(const DEBUG_EVENT& event);

  std::thread thread_;
  HANDLE started_ = nullptr;
  HANDLE exited_ = nullptr;
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  LONGLONG startedAt_ = 0;
  std::string startError_;
  mutable std::mutex mutex_;
  std::vector<std::string> strings_;
  DWORD exitCode_ = STILL_ACTIVE;
};
