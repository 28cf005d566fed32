// The handful of Win32 and COM run-time calls the portable code makes.
// CoCreateInstance has no classes to offer here: tests hand their fakes to
// the code under test through its own creation seam.
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
// Code page 1252, the ANSI code page of Western Windows: Latin-1 except for
// 0x80..0x9F, which hold these characters.
const WCHAR CP1252_80_TO_9F[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                   0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                   0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                   0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Writes the character's byte in code page 1252, or '?' and returns false.
bool InCodePage1252(WCHAR wide, char* byte) {
  *byte = '?';
  if (wide < 0x80 || (wide >= 0xA0 && wide <= 0xFF)) *byte = static_cast<char>(wide);
  for (int i = 0; i < 32; ++i) {
    if (CP1252_80_TO_9F[i] == wide) *byte = static_cast<char>(0x80 + i);
  }
  return *byte != '?' || wide == '?';
}
}  // namespace

// The ANSI code page of this stand-in is 1252; a character outside it
// becomes '?' (Windows would first try a look-alike, such as 'A' for U+0100).
// Semantics follow Windows: a length of -1 includes the terminator, a size
// of 0 asks for the size needed, a buffer too small fails.
int WideCharToMultiByte(UINT, DWORD, LPCWSTR wide, int wideLength, LPSTR narrow, int narrowSize,
                        LPCSTR, BOOL* usedDefault) {
  if (wide == nullptr || narrowSize < 0 || (narrowSize > 0 && narrow == nullptr)) return 0;
  const int length = wideLength < 0 ? lstrlenW(wide) + 1 : wideLength;
  if (usedDefault != nullptr) *usedDefault = FALSE;
  if (narrowSize == 0) return length;
  if (length > narrowSize) return 0;
  for (int i = 0; i < length; ++i) {
    if (!InCodePage1252(wide[i], &narrow[i]) && usedDefault != nullptr) *usedDefault = TRUE;
  }
  return length;
}
