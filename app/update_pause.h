// The update's pause between two write attempts: the board needs 10 ms
// after an attempt returns before it takes the next one. Sleep may return
// up to a timer tick early, so the pause is measured by the performance
// counter and lasts until the time has really passed.
#pragma once

#include <windows.h>

#include "eeprom_procedures.h"

// Where the pause reads the time and sleeps.
class IPauseClock {
 public:
  virtual LONGLONG Ticks() = 0;
  virtual LONGLONG TicksPerSecond() = 0;
  virtual void Sleep(DWORD milliseconds) = 0;

 protected:
  ~IPauseClock() = default;
};

// The performance counter, which never runs short, and the system's Sleep.
class CPerformanceClock final : public IPauseClock {
 public:
  LONGLONG Ticks() override;
  LONGLONG TicksPerSecond() override;
  void Sleep(DWORD milliseconds) override;
};

class CMeasuredPause final : public IPause {
 public:
  explicit CMeasuredPause(IPauseClock& clock) : m_clock(clock) {}
  // Returns once the clock says milliseconds have passed since the call.
  void Pause(DWORD milliseconds) override;

 private:
  IPauseClock& m_clock;
};

// For as long as it lives, the system timer runs at 1 ms resolution, so that
// a 10 ms sleep lasts about 10 ms rather than a whole default tick (15.6 ms),
// and Windows is asked to keep honouring that resolution while the window is
// minimised or covered, which Windows 11 otherwise stops doing. Without
// WINMM, or where Windows lacks the request, the pauses simply wake later.
class CFineTimer {
 public:
  CFineTimer();
  ~CFineTimer();

 private:
  typedef UINT(WINAPI* TimePeriodProc)(UINT);

  HMODULE m_hWinmm;
  TimePeriodProc m_pTimeEndPeriod;  // null unless the resolution was raised
  bool m_bResolutionKept;           // the request to keep it was granted

  CFineTimer(const CFineTimer&) = delete;
  CFineTimer& operator=(const CFineTimer&) = delete;
};
