#include "debugged_process.h"

DebuggedProcess::~DebuggedProcess() {
  if (thread_.joinable()) {
    if (!HasExited()) Kill();
    WaitForExit(10000);
    if (HasExited()) {
      thread_.join();
    } else {
      thread_.detach();
    }
  }
  if (process_ != nullptr) CloseHandle(process_);
  if (started_ != nullptr) CloseHandle(started_);
  if (exited_ != nullptr) CloseHandle(exited_);
}

bool DebuggedProcess::Start(const std::string& program, std::string* error) {
  started_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  exited_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  thread_ = std::thread(&DebuggedProcess::DebugLoop, this, program);
  WaitForSingleObject(started_, INFINITE);
  if (processId_ == 0) {
    *error = startError_;
    thread_.join();
    return false;
  }
  return true;
}

void DebuggedProcess::DebugLoop(std::string program) {
  std::string commandLine = "\"" + program + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  startedAt_ = now.QuadPart;
  if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                      DEBUG_ONLY_THIS_PROCESS, nullptr, nullptr, &startup, &info)) {
    startError_ = "CreateProcess failed with error " + std::to_string(GetLastError());
    SetEvent(started_);
    return;
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  processId_ = info.dwProcessId;
  SetEvent(started_);

  bool firstBreakpoint = true;
  for (;;) {
    DEBUG_EVENT event = {};
    if (!WaitForDebugEvent(&event, INFINITE)) break;
    DWORD status = DBG_CONTINUE;
    switch (event.dwDebugEventCode) {
      case CREATE_PROCESS_DEBUG_EVENT:
        if (event.u.CreateProcessInfo.hFile != nullptr)
          CloseHandle(event.u.CreateProcessInfo.hFile);
        break;
      case LOAD_DLL_DEBUG_EVENT:
        if (event.u.LoadDll.hFile != nullptr) CloseHandle(event.u.LoadDll.hFile);
        break;
      case OUTPUT_DEBUG_STRING_EVENT:
        OnDebugString(event);
        break;
      case EXCEPTION_DEBUG_EVENT:
        if (firstBreakpoint &&
            event.u.Exception.ExceptionRecord.ExceptionCode == EXCEPTION_BREAKPOINT) {
          firstBreakpoint = false;
        } else {
          status = DBG_EXCEPTION_NOT_HANDLED;
        }
        break;
      case EXIT_PROCESS_DEBUG_EVENT: {
        std::lock_guard<std::mutex> lock(mutex_);
        exitCode_ = event.u.ExitProcess.dwExitCode;
        break;
      }
      default:
        break;
    }
    ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
    if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) break;
  }
  SetEvent(exited_);
}

void DebuggedProcess::OnDebugString(const DEBUG_EVENT& event) {
  const OUTPUT_DEBUG_STRING_INFO& info = event.u.DebugString;
  if (info.fUnicode) return;  // the program writes narrow text only
  std::string text(info.nDebugStringLength, '\0');
  SIZE_T read = 0;
  if (!ReadProcessMemory(process_, info.lpDebugStringData, &text[0], text.size(), &read)) return;
  text.resize(read);
  size_t end = text.find('\0');
  if (end != std::string::npos) text.resize(end);
  std::lock_guard<std::mutex> lock(mutex_);
  strings_.push_back(text);
}

std::vector<std::string> DebuggedProcess::DebugStrings() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return strings_;
}

bool DebuggedProcess::WaitForExit(DWORD timeoutMs) {
  return exited_ != nullptr && WaitForSingleObject(exited_, timeoutMs) == WAIT_OBJECT_0;
}

bool DebuggedProcess::HasExited() const {
  return exited_ == nullptr || WaitForSingleObject(exited_, 0) == WAIT_OBJECT_0;
}

DWORD DebuggedProcess::ExitCode() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return exitCode_;
}

void DebuggedProcess::Kill() {
  if (process_ != nullptr) TerminateProcess(process_, 1);
}
