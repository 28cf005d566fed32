// What the EEPROM procedures need of the main dialog: its progress bar, a
// result line, and (for the update) a pause.
#pragma once

#include <windows.h>

#include "eeprom_procedures.h"
#include "progress_ctrl.h"

class CProgressPositionSink final : public IProgressSink {
 public:
  explicit CProgressPositionSink(CProgressCtrl& progress) : m_progress(progress) {}
  void SetProgressPosition(int position) override { m_progress.SetPos(position); }

 private:
  CProgressCtrl& m_progress;
};

class CDialogResultLine final : public IResultLine {
 public:
  CDialogResultLine(HWND dialog, int id) : m_hDialog(dialog), m_id(id) {}
  void Show() override { ShowWindow(GetDlgItem(m_hDialog, m_id), SW_RESTORE); }
  void SetText(const char* text) override { SetDlgItemTextA(m_hDialog, m_id, text); }

 private:
  HWND m_hDialog;
  int m_id;
};

// Sleeps with the system timer at 1 ms resolution for as long as the object
// lives, so that a 10 ms pause lasts about 10 ms rather than a whole
// default timer tick (15.6 ms). WINMM, which sets the resolution, is loaded
// only meanwhile; without it the pauses simply last longer.
class CFineTimerPause final : public IPause {
 public:
  CFineTimerPause();
  ~CFineTimerPause();
  void Pause(DWORD milliseconds) override { Sleep(milliseconds); }

 private:
  typedef UINT(WINAPI* TimePeriodProc)(UINT);

  HMODULE m_hWinmm;
  TimePeriodProc m_pTimeEndPeriod;  // null unless the resolution was raised

  CFineTimerPause(const CFineTimerPause&) = delete;
  CFineTimerPause& operator=(const CFineTimerPause&) = delete;
};
