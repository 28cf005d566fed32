#include "native_debug_output.h"
#include "travune_platform.h"

namespace {
std::string& DebugBuffer() {
  static std::string buffer;
  return buffer;
}
}  // namespace

void OutputDebugStringA(LPCSTR text) {
  if (text != nullptr) DebugBuffer() += text;
}

const std::string& NativeDebugOutput() { return DebugBuffer(); }
void ClearNativeDebugOutput() { DebugBuffer().clear(); }
