// The environment the board reads, and its fault knob.
#include <vector>

#include "simboard_private.h"

std::wstring ReadEnvironmentWide(const wchar_t* name) {
  DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return {};
  std::vector<wchar_t> buffer(size);
  DWORD length = GetEnvironmentVariableW(name, buffer.data(), size);
  if (length >= size) return {};
  return std::wstring(buffer.data(), length);
}

int ReadRefusedBlock() {
  const std::wstring value = ReadEnvironmentWide(L"TRAVUNE_SIMBOARD_REFUSE_BLOCK");
  if (value.empty() || value.size() > 3 || value.find_first_not_of(L"0123456789") != value.npos)
    return NO_REFUSED_BLOCK;
  int offset = 0;
  for (wchar_t digit : value) offset = 10 * offset + (digit - L'0');
  return offset;
}
