#include "update_pause.h"

#include <cstring>

#include "proc_address.h"

namespace {

const UINT TIMER_RESOLUTION_MS = 1;

// WINMM is no KnownDLL: loaded by name it would be searched for along the
// DLL search path, which on Windows without SetDefaultDllDirectories still
// begins with the exe's folder, where anyone may have dropped a file. It is
// loaded by its full path in the system folder.
HMODULE LoadWinmmFromSystemFolder() {
  const WCHAR NAME[] = L"\\winmm.dll";
  WCHAR path[MAX_PATH];
  const UINT length = GetSystemDirectoryW(path, MAX_PATH);
  if (length == 0 || length + ARRAYSIZE(NAME) > MAX_PATH) return nullptr;
  std::memcpy(path + length, NAME, sizeof(NAME));
  return LoadLibraryW(path);
}

// Asks that the process's timer resolution be honoured (controlMask set,
// state clear) or left to the system again (both clear). Looked up at run
// time: only Windows 8 and later have the call, and only 11 the flag.
bool ControlTimerResolutionThrottling(ULONG controlMask) {
  typedef BOOL(WINAPI * SetProcessInformationProc)(HANDLE, PROCESS_INFORMATION_CLASS, LPVOID,
                                                   DWORD);
  const auto setProcessInformation = ProcAddress<SetProcessInformationProc>(
      GetModuleHandleA("KERNEL32.DLL"), "SetProcessInformation");
  if (setProcessInformation == nullptr) return false;
  PROCESS_POWER_THROTTLING_STATE state = {};
  state.Version = PROCESS_POWER_THROTTLING_CURRENT_VERSION;
  state.ControlMask = controlMask;
  state.StateMask = 0;
  return setProcessInformation(GetCurrentProcess(), ProcessPowerThrottling, &state,
                               sizeof(state)) != FALSE;
}

}  // namespace

LONGLONG CPerformanceClock::Ticks() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

LONGLONG CPerformanceClock::TicksPerSecond() {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return frequency.QuadPart;
}

void CPerformanceClock::Sleep(DWORD milliseconds) { ::Sleep(milliseconds); }

void CMeasuredPause::Pause(DWORD milliseconds) {
  const LONGLONG start = m_clock.Ticks();
  const LONGLONG perSecond = m_clock.TicksPerSecond();
  const LONGLONG wanted = perSecond * milliseconds / 1000;
  for (LONGLONG elapsed = 0; elapsed < wanted; elapsed = m_clock.Ticks() - start) {
    // What is left, rounded up to whole milliseconds: never a sleep of 0,
    // which would only give up the rest of the time slice.
    const LONGLONG left = (wanted - elapsed) * 1000;
    m_clock.Sleep(static_cast<DWORD>((left + perSecond - 1) / perSecond));
  }
}

CFineTimer::CFineTimer()
    : m_hWinmm(LoadWinmmFromSystemFolder()), m_pTimeEndPeriod(nullptr), m_bResolutionKept(false) {
  if (m_hWinmm == nullptr) return;
  const auto beginPeriod = ProcAddress<TimePeriodProc>(m_hWinmm, "timeBeginPeriod");
  const auto endPeriod = ProcAddress<TimePeriodProc>(m_hWinmm, "timeEndPeriod");
  // Without both, or when the resolution cannot be raised, the pauses run
  // on the default timer.
  if (beginPeriod == nullptr || endPeriod == nullptr ||
      beginPeriod(TIMER_RESOLUTION_MS) != TIMERR_NOERROR) {
    return;
  }
  m_pTimeEndPeriod = endPeriod;
  m_bResolutionKept =
      ControlTimerResolutionThrottling(PROCESS_POWER_THROTTLING_IGNORE_TIMER_RESOLUTION);
}

CFineTimer::~CFineTimer() {
  if (m_bResolutionKept) ControlTimerResolutionThrottling(0);
  if (m_pTimeEndPeriod != nullptr) m_pTimeEndPeriod(TIMER_RESOLUTION_MS);
  if (m_hWinmm != nullptr) FreeLibrary(m_hWinmm);
}
