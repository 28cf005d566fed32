// The handful of Win32 and COM run-time calls the portable code makes.
// CoCreateInstance has no classes to offer here: tests hand their fakes to
// the code under test through its own creation seam.
#include <string>

#include "travune_platform.h"

HRESULT CoCreateInstance(REFCLSID, IUnknown*, DWORD, REFIID, LPVOID* object) {
  if (object != nullptr) *object = nullptr;
  return REGDB_E_CLASSNOTREG;
}

int lstrlenW(LPCWSTR text) {
  if (text == nullptr) return 0;
  int length = 0;
  while (text[length] != 0) ++length;
  return length;
}

namespace {

// A surrogate without its partner becomes U+FFFD, as on Windows.
std::string ToUtf8(LPCWSTR text, int length) {
  static const unsigned LEAD[] = {0x00, 0xC0, 0xE0, 0xF0};
  std::string bytes;
  for (int i = 0; i < length;) {
    uint32_t code = text[i++];
    if (code >= 0xD800 && code <= 0xDFFF) {
      const bool paired = code < 0xDC00 && i < length && text[i] >= 0xDC00 && text[i] <= 0xDFFF;
      code = paired ? 0x10000 + ((code - 0xD800) << 10) + (text[i++] - 0xDC00) : 0xFFFD;
    }
    const int tail = code < 0x80 ? 0 : code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
    bytes += static_cast<char>(LEAD[tail] | (code >> (6 * tail)));
    for (int shift = 6 * (tail - 1); shift >= 0; shift -= 6)
      bytes += static_cast<char>(0x80 | ((code >> shift) & 0x3F));
  }
  return bytes;
}

}  // namespace

// The ANSI code page of this stand-in is UTF-8, as Windows' can be too: a
// wide character may take three bytes. Semantics follow Windows: a length
// of -1 includes the terminator, a size of 0 asks for the size needed, a
// buffer too small fails.
int WideCharToMultiByte(UINT, DWORD, LPCWSTR wide, int wideLength, LPSTR narrow, int narrowSize,
                        LPCSTR, BOOL* usedDefault) {
  if (wide == nullptr || narrowSize < 0 || (narrowSize > 0 && narrow == nullptr)) return 0;
  const std::string converted = ToUtf8(wide, wideLength < 0 ? lstrlenW(wide) + 1 : wideLength);
  const int size = static_cast<int>(converted.size());
  if (usedDefault != nullptr) *usedDefault = FALSE;
  if (narrowSize == 0) return size;
  if (size > narrowSize) return 0;
  converted.copy(narrow, converted.size());
  return size;
}
