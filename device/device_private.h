// What the device sources share: how they create COM objects, let go of
// references and turn property values into log text.
#pragma once

#include <string>

#include "travune_platform.h"

typedef HRESULT (*ComInstanceCreator)(REFCLSID classId, IUnknown* outer, DWORD context, REFIID riid,
                                      void** object);

// The one place where the device code creates COM objects: CoCreateInstance,
// unless another creator has been installed.
HRESULT CreateComInstance(REFCLSID classId, IUnknown* outer, DWORD context, REFIID riid,
                          void** object);

// Installs a creator (the unit tests' fake media framework) and returns the
// previous one; a null creator restores CoCreateInstance.
ComInstanceCreator SetComInstanceCreator(ComInstanceCreator creator);

// Releases one reference, if held, and forgets it.
template <typename Interface>
void ReleaseAndClear(Interface*& reference) {
  if (reference != nullptr) reference->Release();
  reference = nullptr;
}

// The string a property read left in the value holder, or null when the
// value is not a string or the string is null; such a read counts as failed.
const OLECHAR* StringInVariant(const VARIANT& value);

// Wide text in the ANSI code page, whole: the conversion is asked for the
// size first, as a character may take three bytes where that code page is
// UTF-8. Empty when the text cannot be converted.
std::string NarrowText(const WCHAR* text);

// Writes before + the name in the ANSI code page + after to DebugLog, cut to
// the 255 characters of a log line.
void DebugLogNamed(const char* before, const WCHAR* name, const char* after);
