#include "module.h"

#include <objbase.h>

#include "class_factory.h"
#include "request_log.h"
#include "simboard_ids.h"

namespace {

HMODULE g_module = nullptr;
LONG g_locks = 0;

}  // namespace

HMODULE SimBoardModule() { return g_module; }

void SimBoardLockModule() { InterlockedIncrement(&g_locks); }

void SimBoardUnlockModule() { InterlockedDecrement(&g_locks); }

bool SimBoardModuleInUse() { return InterlockedCompareExchange(&g_locks, 0, 0) != 0; }

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      g_module = instance;
      DisableThreadLibraryCalls(instance);
      break;
    case DLL_PROCESS_DETACH:
      LogLine("DllDetach");
      break;
    default:
      break;
  }
  return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (!IsEqualCLSID(clsid, CLSID_TravuneSimBoard)) return CLASS_E_CLASSNOTAVAILABLE;
  return TunerFilterFactory()->QueryInterface(iid, object);
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return SimBoardModuleInUse() ? S_FALSE : S_OK; }
