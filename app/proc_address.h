// An entry point looked up at run time, as the function type it has.
#pragma once

#include <windows.h>

// Casts through the one function type that GCC accepts for any target.
template <typename Proc>
Proc ProcAddress(HMODULE module, const char* name) {
  return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}
