// Drives Travune.exe from another process, as a person at its window would,
// with the platform's own messages: starts it and waits for its main window,
// clicks a button, reads a result line, ends it. The walk-through and the
// end-to-end tests share it.
#pragma once

#include <windows.h>

#include <string>

class CTravuneDriver {
 public:
  CTravuneDriver() = default;
  ~CTravuneDriver() { End(); }

  // Starts program (after ending one still running) and waits up to 30 s
  // for its main window to be visible. Empty when it is, else why not.
  std::string Start(const std::string& program) {
    End();
    std::string commandLine = "\"" + program + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &m_process)) {
      return "Travune.exe did not start: " + program;
    }
    DWORD owner = 0;
    for (const DWORD start = GetTickCount(); owner != m_process.dwProcessId; Sleep(2)) {
      if (GetTickCount() - start >= 30000) return "no main window within 30 s";
      m_hWindow = FindWindowA(nullptr, "Travune ( EEPROM Update )");
      if (IsWindowVisible(m_hWindow)) GetWindowThreadProcessId(m_hWindow, &owner);
    }
    return std::string();
  }

  // BM_CLICK returns once the button's handler has returned; false when it
  // did not within timeoutMs.
  bool Click(int button, UINT timeoutMs) const {
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(GetDlgItem(m_hWindow, button), BM_CLICK, 0, 0, SMTO_NORMAL,
                               timeoutMs, &result) != 0;
  }

  // The text of a result line, or "(hidden)"; no wait on a program that hangs.
  std::string Shown(int line) const {
    char text[256] = "(hidden)";
    const HWND control = GetDlgItem(m_hWindow, line);
    if (IsWindowVisible(control)) GetWindowTextA(control, text, sizeof(text));
    return text;
  }

  // Escape, as the dialog manager delivers it; true once the process ended.
  bool Escape(DWORD timeoutMs = 10000) const {
    PostMessageA(m_hWindow, WM_COMMAND, IDCANCEL, 0);
    return WaitForSingleObject(m_process.hProcess, timeoutMs) == WAIT_OBJECT_0;
  }

  // Ends the program if it still runs, and lets go of it.
  void End() {
    if (m_process.hProcess == nullptr) return;
    TerminateProcess(m_process.hProcess, 1);
    WaitForSingleObject(m_process.hProcess, 10000);
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
    m_process = {};
    m_hWindow = nullptr;
  }

  HWND Window() const { return m_hWindow; }

  CTravuneDriver(const CTravuneDriver&) = delete;
  CTravuneDriver& operator=(const CTravuneDriver&) = delete;

 private:
  PROCESS_INFORMATION m_process = {};
  HWND m_hWindow = nullptr;
};
