#include "eeprom_adapters.h"

#include <mmsystem.h>

namespace {
const UINT TIMER_RESOLUTION_MS = 1;
}

CFineTimerPause::CFineTimerPause()
    : m_raised(timeBeginPeriod(TIMER_RESOLUTION_MS) == TIMERR_NOERROR) {}

CFineTimerPause::~CFineTimerPause() {
  if (m_raised) timeEndPeriod(TIMER_RESOLUTION_MS);
}
