#include "variant_text.h"

#include "bounded_format.h"
#include "debug_log.h"

const OLECHAR* StringInVariant(const VARIANT& value) {
  if (value.vt != VT_BSTR) return nullptr;
  return value.bstrVal;
}

std::vector<char> NarrowForLog(const WCHAR* text) {
  const int length = lstrlenW(text);
  std::vector<char> narrow(2 * static_cast<size_t>(length) + 2, '\0');
  narrow[0] = '\0';
  WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), static_cast<int>(narrow.size()), nullptr,
                      nullptr);
  narrow.back() = '\0';
  return narrow;
}

std::string NarrowText(const WCHAR* text) { return std::string(NarrowForLog(text).data()); }

void DebugLogNamed(const char* before, const WCHAR* name, const char* after) {
  const std::vector<char> narrowName = NarrowForLog(name);
  char line[256];
  BoundedFormat(line, sizeof(line), "%s%s%s", before, narrowName.data(), after);
  DebugLog(line);
}
