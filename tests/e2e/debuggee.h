// Runs a program as our debuggee so that every OutputDebugStringA it writes
// is captured byte for byte. Debug events go to the thread that created the
// process: a thread of our own creates it and runs the loop until it exits.
#pragma once

#include <windows.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

class Debuggee {
 public:
  // Id() is 0 when the program could not be started.
  explicit Debuggee(const std::string& program);
  // Ends the process if it still runs.
  ~Debuggee();

  DWORD Id() const { return id_; }
  // Whether an address lies in the program's own image (not in a DLL).
  bool InImage(ULONGLONG address) const { return address - imageBase_ < imageSize_; }
  // Every debug string so far, in order, without its terminator.
  std::vector<std::string> Strings() const;
  bool WaitForExit(DWORD timeoutMs) const;

 private:
  void Run(std::string program);
  void Capture(const OUTPUT_DEBUG_STRING_INFO& info);

  HANDLE created_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE exited_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
  ULONGLONG imageBase_ = 0;
  ULONGLONG imageSize_ = 0;
  mutable std::mutex mutex_;
  std::vector<std::string> strings_;
  std::thread thread_;
};
