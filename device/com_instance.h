// The one place where the device code creates COM objects. It calls the
// COM run time unless another creator has been installed (tests install
// fakes here).
#pragma once

#include "travune_platform.h"

typedef HRESULT (*ComInstanceCreator)(REFCLSID classId, IUnknown* outer, DWORD context, REFIID riid,
                                      void** object);

HRESULT CreateComInstance(REFCLSID classId, IUnknown* outer, DWORD context, REFIID riid,
                          void** object);

// Installs a creator and returns the previous one; a null creator restores
// CoCreateInstance.
ComInstanceCreator SetComInstanceCreator(ComInstanceCreator creator);
