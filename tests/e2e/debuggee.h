// Runs a program as our debuggee so that every OutputDebugStringA it writes
// is captured byte for byte. Debug events go to the thread that created the
// process: a thread of our own creates it and runs the loop until it exits.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CDebuggee {
 public:
  // Id() is 0 when the program could not be started.
  explicit CDebuggee(const std::string& program);
  // Ends the process if it still runs.
  ~CDebuggee();

  DWORD Id() const { return m_id; }
  // Whether an address lies in the program's own image (not in a DLL).
  bool InImage(ULONGLONG address) const { return address - m_imageBase < m_imageSize; }
  // Every debug string so far, in order, without its terminator.
  std::vector<std::string> Strings() const;
  bool WaitForExit(DWORD timeoutMs) const;

 private:
  void Run(std::string program);
  void Capture(const OUTPUT_DEBUG_STRING_INFO& info);

  HANDLE m_hCreated = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE m_hExited = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE m_hProcess = nullptr;
  DWORD m_id = 0;
  ULONGLONG m_imageBase = 0;
  ULONGLONG m_imageSize = 0;
  mutable std::mutex m_mutex;
  std::vector<std::string> m_strings;
  std::thread m_thread;
};
