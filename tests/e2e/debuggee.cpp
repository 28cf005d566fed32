#include "debuggee.h"

#include <cstddef>
#include <cstring>

CDebuggee::CDebuggee(const std::string& program) : m_thread(&CDebuggee::Run, this, program) {
  WaitForSingleObject(m_hCreated, INFINITE);
}

CDebuggee::~CDebuggee() {
  if (!WaitForExit(0)) TerminateProcess(m_hProcess, 1);
  m_thread.join();
  if (m_hProcess != nullptr) CloseHandle(m_hProcess);
  CloseHandle(m_hCreated);
  CloseHandle(m_hExited);
}

std::vector<std::string> CDebuggee::Strings() const {
  std::lock_guard<std::mutex> lock(m_mutex);
  return m_strings;
}

bool CDebuggee::WaitForExit(DWORD timeoutMs) const {
  return WaitForSingleObject(m_hExited, timeoutMs) == WAIT_OBJECT_0;
}

void CDebuggee::Run(std::string program) {
  std::string commandLine = "\"" + program + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                     DEBUG_ONLY_THIS_PROCESS, nullptr, nullptr, &startup, &info)) {
    CloseHandle(info.hThread);
    m_hProcess = info.hProcess;
    m_id = info.dwProcessId;
  }
  SetEvent(m_hCreated);
  bool initialBreakpoint = true;
  DEBUG_EVENT event = {};
  while (m_id != 0 && WaitForDebugEvent(&event, INFINITE)) {
    DWORD status = DBG_CONTINUE;
    if (event.dwDebugEventCode == CREATE_PROCESS_DEBUG_EVENT) {
      if (event.u.CreateProcessInfo.hFile != nullptr) CloseHandle(event.u.CreateProcessInfo.hFile);
      // SizeOfImage: 56 bytes into the optional header of either PE format.
      const auto* image = static_cast<const BYTE*>(event.u.CreateProcessInfo.lpBaseOfImage);
      LONG headers = 0;
      DWORD size = 0;
      ReadProcessMemory(m_hProcess, image + offsetof(IMAGE_DOS_HEADER, e_lfanew), &headers,
                        sizeof(headers), nullptr);
      ReadProcessMemory(m_hProcess, image + headers + 24 + 56, &size, sizeof(size), nullptr);
      m_imageBase = reinterpret_cast<ULONG_PTR>(image);
      m_imageSize = size;
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
  SetEvent(m_hExited);
}

void CDebuggee::Capture(const OUTPUT_DEBUG_STRING_INFO& info) {
  std::string text(info.nDebugStringLength, '\0');  // the program writes narrow text only
  if (!ReadProcessMemory(m_hProcess, info.lpDebugStringData, &text[0], text.size(), nullptr))
    return;
  text.resize(std::strlen(text.c_str()));
  std::lock_guard<std::mutex> lock(m_mutex);
  m_strings.push_back(text);
}
