#include "debuggee.h"

#include <cstddef>
#include <cstring>

Debuggee::Debuggee(const std::string& program) : thread_(&Debuggee::Run, this, program) {
  WaitForSingleObject(created_, INFINITE);
}

Debuggee::~Debuggee() {
  if (!WaitForExit(0)) TerminateProcess(process_, 1);
  thread_.join();
  if (process_ != nullptr) CloseHandle(process_);
  CloseHandle(created_);
  CloseHandle(exited_);
}

std::vector<std::string> Debuggee::Strings() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return strings_;
}

bool Debuggee::WaitForExit(DWORD timeoutMs) const {
  return WaitForSingleObject(exited_, timeoutMs) == WAIT_OBJECT_0;
}

void Debuggee::Run(std::string program) {
  std::string commandLine = "\"" + program + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                     DEBUG_ONLY_THIS_PROCESS, nullptr, nullptr, &startup, &info)) {
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
  }
  SetEvent(created_);
  bool initialBreakpoint = true;
  DEBUG_EVENT event = {};
  while (id_ != 0 && WaitForDebugEvent(&event, INFINITE)) {
    DWORD status = DBG_CONTINUE;
    if (event.dwDebugEventCode == CREATE_PROCESS_DEBUG_EVENT) {
      if (event.u.CreateProcessInfo.hFile != nullptr) CloseHandle(event.u.CreateProcessInfo.hFile);
      // SizeOfImage: 56 bytes into the optional header of either PE format.
      const auto* image = static_cast<const BYTE*>(event.u.CreateProcessInfo.lpBaseOfImage);
      LONG headers = 0;
      DWORD size = 0;
      ReadProcessMemory(process_, image + offsetof(IMAGE_DOS_HEADER, e_lfanew), &headers,
                        sizeof(headers), nullptr);
      ReadProcessMemory(process_, image + headers + 24 + 56, &size, sizeof(size), nullptr);
      imageBase_ = reinterpret_cast<ULONG_PTR>(image);
      imageSize_ = size;
    } else if (event.dwDebugEventCode == LOAD_DLL_DEBUG_EVENT) {
      if (event.u.LoadDll.hFile != nullptr) CloseHandle(event.u.LoadDll.hFile);
    } else if (event.dwDebugEventCode == OUTPUT_DEBUG_STRING_EVENT) {
      Capture(event.u.DebugString);
    } else if (event.dwDebugEventCode == EXCEPTION_DEBUG_EVENT) {
      // The loader's breakpoint is ours to swallow; anything else is the program's.
      if (initialBreakpoint &&
          event.u.Exception.ExceptionRecord.ExceptionCode == EXCEPTION_BREAKPOINT)
        initialBreakpoint = false;
      else
        status = DBG_EXCEPTION_NOT_HANDLED;
    }
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
    if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) break;
  }
  SetEvent(exited_);
}

void Debuggee::Capture(const OUTPUT_DEBUG_STRING_INFO& info) {
  std::string text(info.nDebugStringLength, '\0');  // the program writes narrow text only
  if (!ReadProcessMemory(process_, info.lpDebugStringData, &text[0], text.size(), nullptr)) return;
  text.resize(std::strlen(text.c_str()));
  std::lock_guard<std::mutex> lock(mutex_);
  strings_.push_back(text);
}
