// BSTR and VARIANT with the Windows memory layout: a 32-bit byte length
// stored just before the text, and a terminator after it.
#include <cstdlib>

#include "travune_platform.h"

namespace {
uint32_t* LengthPrefix(BSTR text) { return reinterpret_cast<uint32_t*>(text) - 1; }
}  // namespace

BSTR SysAllocString(const OLECHAR* text) {
  if (text == nullptr) return nullptr;
  size_t length = 0;
  while (text[length] != 0) ++length;
  const size_t bytes = length * sizeof(OLECHAR);
  auto* block = static_cast<uint32_t*>(std::malloc(sizeof(uint32_t) + bytes + sizeof(OLECHAR)));
  if (block == nullptr) return nullptr;
  block[0] = static_cast<uint32_t>(bytes);
  BSTR result = reinterpret_cast<BSTR>(block + 1);
  std::memcpy(result, text, bytes);
  result[length] = 0;
  return result;
}

void SysFreeString(BSTR text) {
  if (text != nullptr) std::free(LengthPrefix(text));
}

void VariantInit(VARIANT* value) {
  std::memset(value, 0, sizeof(*value));
  value->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANT* value) {
  if (value == nullptr) return E_INVALIDARG;
  if (value->vt == VT_BSTR) SysFreeString(value->bstrVal);
  std::memset(value, 0, sizeof(*value));
  value->vt = VT_EMPTY;
  return S_OK;
}
