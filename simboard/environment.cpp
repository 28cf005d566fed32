#include "environment.h"

#include <windows.h>

#include <vector>

namespace {

// Both character widths: a size query, then the value in a buffer one larger.
template <typename Char>
bool ReadVariable(DWORD(WINAPI* get)(const Char*, Char*, DWORD), const Char* name,
                  std::basic_string<Char>* value) {
  SetLastError(ERROR_SUCCESS);  // an empty variable also gives 0
  DWORD size = get(name, nullptr, 0);
  if (size == 0) {
    if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return false;
    value->clear();
    return true;
  }
  std::vector<Char> buffer(size + 1);
  DWORD length = get(name, buffer.data(), static_cast<DWORD>(buffer.size()));
  if (length >= buffer.size()) return false;
  value->assign(buffer.data(), length);
  return true;
}

}  // namespace

bool ReadEnvironment(const char* name, std::string* value) {
  return ReadVariable(GetEnvironmentVariableA, name, value);
}

bool ReadEnvironmentWide(const wchar_t* name, std::wstring* value) {
  return ReadVariable(GetEnvironmentVariableW, name, value);
}
