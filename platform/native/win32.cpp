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

// The ANSI code page of this stand-in is Latin-1: characters above 0xFF
// become '?'. Semantics follow Windows: a length of -1 includes the
// terminator, a size of 0 asks for the size needed, a buffer too small fails.
int WideCharToMultiByte(UINT, DWORD, LPCWSTR wide, int wideLength, LPSTR narrow, int narrowSize,
                        LPCSTR, BOOL* usedDefault) {
  if (wide == nullptr || narrowSize < 0 || (narrowSize > 0 && narrow == nullptr)) return 0;
  const int length = wideLength < 0 ? lstrlenW(wide) + 1 : wideLength;
  if (usedDefault != nullptr) *usedDefault = FALSE;
  if (narrowSize == 0) return length;
  if (length > narrowSize) return 0;
  for (int i = 0; i < length; ++i) {
    const bool fits = wide[i] <= 0xFF;
    if (!fits && usedDefault != nullptr) *usedDefault = TRUE;
    narrow[i] = fits ? static_cast<char>(wide[i]) : '?';
  }
  return length;
}
