#include "variant_text.h"

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

std::string NarrowText(const WCHAR* text) {
  const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string();
  std::vector<char> narrow(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), size, nullptr, nullptr);
  narrow.back() = '\0';
  return std::string(narrow.data());
}
