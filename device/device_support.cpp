#include <vector>

#include "bounded_format.h"
#include "debug_log.h"
#include "device_private.h"

namespace {

HRESULT CreateWithComRuntime(REFCLSID classId, IUnknown* outer, DWORD context, REFIID riid,
                             void** object) {
  return CoCreateInstance(classId, outer, context, riid, object);
}

ComInstanceCreator g_creator = CreateWithComRuntime;

}  // namespace

HRESULT CreateComInstance(REFCLSID classId, IUnknown* outer, DWORD context, REFIID riid,
                          void** object) {
  return g_creator(classId, outer, context, riid, object);
}

ComInstanceCreator SetComInstanceCreator(ComInstanceCreator creator) {
  const ComInstanceCreator previous = g_creator;
  g_creator = creator != nullptr ? creator : CreateWithComRuntime;
  return previous;
}

const OLECHAR* StringInVariant(const VARIANT& value) {
  if (value.vt != VT_BSTR) return nullptr;
  return value.bstrVal;
}

std::string NarrowText(const WCHAR* text) {
  const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::string();
  std::vector<char> narrow(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), size, nullptr, nullptr);
  narrow.back() = '\0';
  return narrow.data();
}

void DebugLogNamed(const char* before, const WCHAR* name, const char* after) {
  char line[256];
  BoundedFormat(line, sizeof(line), "%s%s%s", before, NarrowText(name).c_str(), after);
  DebugLog(line);
}
