#include "eeprom_adapters.h"

#include <string>

namespace {
const UINT TIMER_RESOLUTION_MS = 1;

// Casts through the one function type that GCC accepts for any target.
template <typename Proc>
Proc ProcAddress(HMODULE module, const char* name) {
  return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// WINMM is no KnownDLL: by name, Windows would first look for it beside the
// exe, where anyone may have dropped a file. It is loaded by its full path.
HMODULE LoadWinmmFromSystemFolder() {
  WCHAR folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  return LoadLibraryW((std::wstring(folder, length) + L"\\winmm.dll").c_str());
}
}  // namespace

CFineTimerPause::CFineTimerPause()
    : m_hWinmm(LoadWinmmFromSystemFolder()), m_pTimeEndPeriod(nullptr) {
  if (m_hWinmm == nullptr) return;
  const auto beginPeriod = ProcAddress<TimePeriodProc>(m_hWinmm, "timeBeginPeriod");
  const auto endPeriod = ProcAddress<TimePeriodProc>(m_hWinmm, "timeEndPeriod");
  // Without both, the pauses run on the default timer.
  if (beginPeriod != nullptr && endPeriod != nullptr &&
      beginPeriod(TIMER_RESOLUTION_MS) == TIMERR_NOERROR) {
    m_pTimeEndPeriod = endPeriod;
  }
}

CFineTimerPause::~CFineTimerPause() {
  if (m_pTimeEndPeriod != nullptr) m_pTimeEndPeriod(TIMER_RESOLUTION_MS);
  if (m_hWinmm != nullptr) FreeLibrary(m_hWinmm);
}
