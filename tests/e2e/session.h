// One run of Travune.exe under test: started as our debuggee, its main
// window found, its controls at hand; screenshots go to the shots folder.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "board_log.h"
#include "check_report.h"
#include "debugged_process.h"

const char MAIN_CAPTION[] = "Travune ( EEPROM Update )";
const char ABOUT_CAPTION[] = "About Travune";

const int IDC_CHECK_EEPROM = 1034;
const int IDC_UPDATE_EEPROM = 1035;
const int IDC_CHECK_RESULT = 1042;
const int IDC_UPDATE_RESULT = 1043;
const int IDC_PROGRESS = 1044;

struct Options {
  std::string program;   // Travune.exe
  std::string shotsDir;  // where .bmp screenshots go; empty: none
  std::string scenario;
  int runs = 5;        // benchmark runs
  bool quiet = false;  // print failed checks only
};

class Session {
 public:
  Session(const Options& options, CheckReport& report);
  ~Session();
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // Starts the program and waits for its main window; false (reported) when
  // it does not appear.
  bool Start();
  HWND Main() const { return main_; }
  HWND Control(int id) const { return GetDlgItem(main_, id); }
  DWORD ProcessId() const { return process_.Id(); }
  // Process start to main window visible, in milliseconds.
  double StartupMs() const { return startupMs_; }

  // Clicks a button and waits for its handler; the handler's duration in
  // milliseconds, or a negative value (reported) when it did not return.
  double Click(int id);
  // The text of a result line, or "(hidden)".
  std::string ResultLine(int id) const;

  // Lets pending repaints happen, then saves the main window's client area
  // (or the whole screen) as <shotsDir>/<name>.bmp.
  void Shot(const std::string& name);
  void ScreenShot(const std::string& name);

  // Escape, as the dialog manager delivers it; true when the process ended.
  bool PressEscape(DWORD timeoutMs = 20000);
  std::vector<std::string> DebugStrings() const { return process_.DebugStrings(); }
  const BoardLog& Board() const { return board_; }
  // Board log lines at this moment, for LinesSince later.
  size_t BoardMark() const { return board_.Lines().size(); }

 private:
  void LetPaint();

  const Options& options_;
  CheckReport& report_;
  DebuggedProcess process_;
  BoardLog board_;
  HWND main_ = nullptr;
  double startupMs_ = -1;
};
