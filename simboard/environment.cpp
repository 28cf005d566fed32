#include "environment.h"

#include <windows.h>

#include <vector>

bool ReadEnvironment(const char* name, std::string* value) {
  SetLastError(ERROR_SUCCESS);  // an empty variable also gives 0
  DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
  if (size == 0) {
    if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return false;
    value->clear();
    return true;
  }
  std::vector<char> buffer(size + 1);
  DWORD length = GetEnvironmentVariableA(name, buffer.data(), static_cast<DWORD>(buffer.size()));
  if (length >= buffer.size()) return false;
  value->assign(buffer.data(), length);
  return true;
}

bool ReadEnvironmentWide(const wchar_t* name, std::wstring* value) {
  SetLastError(ERROR_SUCCESS);
  DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) {
    if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return false;
    value->clear();
    return true;
  }
  std::vector<wchar_t> buffer(size + 1);
  DWORD length = GetEnvironmentVariableW(name, buffer.data(), static_cast<DWORD>(buffer.size()));
  if (length >= buffer.size()) return false;
  value->assign(buffer.data(), length);
  return true;
}
