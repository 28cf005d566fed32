// The board's fault knobs, for tests.
#include "simboard_private.h"

namespace {

// The decimal number, at most `largest`, that the variable holds, else -1.
int ReadDecimal(const wchar_t* name, int largest) {
  const std::wstring value = ReadEnvironmentWide(name);
  if (value.empty() || value.size() > 4 || value.find_first_not_of(L"0123456789") != value.npos)
    return -1;
  const int number = _wtoi(value.c_str());
  return number <= largest ? number : -1;
}

}  // namespace

int ReadRefusedBlock() {
  const int offset = ReadDecimal(L"TRAVUNE_SIMBOARD_REFUSE_BLOCK", 999);
  return offset < 0 ? NO_REFUSED_BLOCK : offset;
}

DWORD ReadReadDelay() {
  const int delay = ReadDecimal(L"TRAVUNE_SIMBOARD_READ_DELAY_MS", 1000);
  return delay < 0 ? 0 : static_cast<DWORD>(delay);
}
