// The DLL's entry points, its class factory and the module lock.
#include <new>
#include <vector>

#include "simboard_private.h"

const CLSID CLSID_TravuneSimBoard = {
    0xB43B6A5E, 0xE134, 0x4972, {0xA0, 0x63, 0x04, 0xC5, 0x4D, 0x2E, 0x0E, 0xF9}};

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

std::wstring ReadEnvironmentWide(const wchar_t* name) {
  DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
  if (size == 0) return {};
  std::vector<wchar_t> buffer(size);
  DWORD length = GetEnvironmentVariableW(name, buffer.data(), size);
  if (length >= size) return {};
  return std::wstring(buffer.data(), length);
}

std::wstring SimBoardClassKey() { return L"CLSID\\" + GuidText(CLSID_TravuneSimBoard); }

namespace {

HMODULE g_module = nullptr;
LONG g_locks = 0;

// Made afresh for each DllGetClassObject; like every object of the board it
// holds the module while it lives.
class CTunerFilterFactory final : public CBoardObject<CTunerFilterFactory, IClassFactory> {
 public:
  void* Find(REFIID iid) noexcept { return FindOnly<IClassFactory>(this, iid, IID_IClassFactory); }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid,
                                           void** object) noexcept override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return WithoutExceptions([&] { return CreateTunerFilter(iid, object); });
  }

  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) noexcept override {
    if (lock) {
      LockModule();
    } else {
      UnlockModule();
    }
    return S_OK;
  }
};

}  // namespace

HMODULE SimBoardModule() noexcept { return g_module; }
void LockModule() noexcept { InterlockedIncrement(&g_locks); }
void UnlockModule() noexcept { InterlockedDecrement(&g_locks); }

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) noexcept {
  if (reason == DLL_PROCESS_ATTACH) {
    g_module = instance;
    DisableThreadLibraryCalls(instance);
  } else if (reason == DLL_PROCESS_DETACH) {
    LogLine("DllDetach");
  }
  return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (!IsEqualCLSID(clsid, CLSID_TravuneSimBoard)) return CLASS_E_CLASSNOTAVAILABLE;
  return QueryNewObject(new (std::nothrow) CTunerFilterFactory(), iid, object);
}

extern "C" HRESULT WINAPI DllCanUnloadNow() {
  return InterlockedCompareExchange(&g_locks, 0, 0) == 0 ? S_OK : S_FALSE;
}

// regsvr32 /n /i:reset simboard.dll: the EEPROM file a filter would use now
// gets the factory image back.
extern "C" HRESULT WINAPI DllInstall(BOOL install, LPCWSTR command) noexcept {
  if (!install || command == nullptr || lstrcmpiW(command, L"reset") != 0) return E_INVALIDARG;
  HRESULT hr =
      WithoutExceptions([] { return RestoreFactoryImage(ResolveEepromPath()) ? S_OK : E_FAIL; });
  LogLine(hr == S_OK ? "EepromReset" : "EepromFileError reset");
  return hr;
}
