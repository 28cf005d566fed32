// The simulated board's private header: its identity, its objects and what
// they share. Only the board's own sources include it.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <ks.h>

#include <new>
#include <string>

#include "eeprom_requests.h"

// The filter's class; it and the two functions below are defined in dll.cpp.
extern const CLSID CLSID_TravuneSimBoard;

// A GUID as the registry writes it: "{B43B6A5E-E134-...}".
std::wstring GuidText(REFGUID guid);
// "CLSID\{...}" under HKEY_CLASSES_ROOT: the filter class's key.
std::wstring SimBoardClassKey();

// Registry value under the class key naming the EEPROM file.
static const WCHAR SIMBOARD_EEPROM_FILE_VALUE[] = L"EepromFile";

// ---- The DLL (dll.cpp): its module handle and the count of live objects
// and server locks that DllCanUnloadNow consults.

HMODULE SimBoardModule() noexcept;
void LockModule() noexcept;
void UnlockModule() noexcept;

// Runs body at a boundary where Windows or the media framework called the
// board, whose frames no C++ exception may cross: the failed allocation of a
// string or a buffer answers E_OUTOFMEMORY, anything else thrown E_FAIL.
// Every COM method and export is noexcept, or, where the SDK declares it
// (DllGetClassObject, DllCanUnloadNow, DllRegisterServer,
// DllUnregisterServer), calls only noexcept functions or runs its body here.
template <typename Body>
HRESULT WithoutExceptions(Body body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

// The IUnknown of every object of the board: a reference count starting at
// one, the module held while the object lives, and QueryInterface answering
// what Derived::Find(iid) returns (null for an interface it lacks).
template <typename Derived, typename... Interfaces>
class CBoardObject : public Interfaces... {
 public:
  CBoardObject(const CBoardObject&) = delete;
  CBoardObject& operator=(const CBoardObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) noexcept override {
    if (object == nullptr) return E_POINTER;
    *object = static_cast<Derived*>(this)->Find(iid);
    if (*object == nullptr) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() noexcept override {
    return static_cast<ULONG>(InterlockedIncrement(&m_refs));
  }
  ULONG STDMETHODCALLTYPE Release() noexcept override {
    LONG refs = InterlockedDecrement(&m_refs);
    if (refs == 0) delete static_cast<Derived*>(this);
    return static_cast<ULONG>(refs);
  }

 protected:
  CBoardObject() { LockModule(); }
  ~CBoardObject() { UnlockModule(); }

 private:
  LONG m_refs = 1;
};

// Hands out iid of a newly made object (null: out of memory) and drops the
// maker's reference, so an object whose query fails is freed at once.
template <typename Object>
HRESULT QueryNewObject(Object* object, REFIID iid, void** result) noexcept {
  if (object == nullptr) {
    if (result != nullptr) *result = nullptr;
    return E_OUTOFMEMORY;
  }
  HRESULT hr = object->QueryInterface(iid, result);
  object->Release();
  return hr;
}

// Find for an object with one interface besides IUnknown.
template <typename Interface>
void* FindOnly(Interface* self, REFIID iid, REFIID own) noexcept {
  return IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, own) ? self : nullptr;
}

// ---- The tuner filter (tuner_filter.cpp)

// Makes a filter with the environment of this moment and queries iid from it.
HRESULT CreateTunerFilter(REFIID iid, void** object);

// ---- The environment (dll.cpp) and the fault knobs for tests (knobs.cpp)

std::wstring ReadEnvironmentWide(const wchar_t* name);  // empty when unset

const int NO_REFUSED_BLOCK = -1;

// The block offset that TRAVUNE_SIMBOARD_REFUSE_BLOCK names in decimal, else
// NO_REFUSED_BLOCK.
int ReadRefusedBlock();
// The milliseconds that TRAVUNE_SIMBOARD_READ_DELAY_MS names in decimal, up
// to 1000, else 0.
DWORD ReadReadDelay();

// ---- The EEPROM (simulated_eeprom.cpp): 256 bytes in a file, so that the
// board keeps them from one run to the next; a missing file is a board fresh
// from the factory.

// TRAVUNE_SIMBOARD_EEPROM if set, else the file recorded at registration,
// else DefaultEepromPath().
std::wstring ResolveEepromPath();
// %ProgramData%\Travune Simulated Board, the folder that registration opens
// to every user; empty when there is no ProgramData.
std::wstring SharedEepromFolder();
// eeprom.bin in SharedEepromFolder(); without ProgramData, beside the DLL, or
// in the current folder (.\eeprom.bin) when the DLL's own path cannot be read.
std::wstring DefaultEepromPath();
// Replaces the file with the factory image in one step.
bool RestoreFactoryImage(const std::wstring& path);

// The buffers handed to Get or Set, as the driver takes them: the request
// record as the instance data, and the property data, which takes a read's
// reply; both present and exactly the record's size.
HRESULT CheckRequestBuffers(const void* instance, DWORD instanceLength, const void* data,
                            DWORD dataLength, DWORD recordSize) noexcept;

// The EEPROM as one filter's driver sees it: the file, and the block whose
// every write is refused, as they were when the filter was made. Each
// request record is checked before it is carried out; a refusal changes
// nothing.
class CSimulatedEeprom {
 public:
  CSimulatedEeprom(std::wstring path, int refusedBlock);

  // KSPROPERTY_SUPPORT_* flags for a property of the EEPROM set.
  static DWORD SupportFor(DWORD propertyId) noexcept;
  HRESULT Write(const EEPROM_WRITE_REQUEST& request);
  HRESULT Read(const EEPROM_READ_REQUEST& request, BYTE* value);

 private:
  std::wstring m_path;
  int m_refusedBlock;
};

// ---- The request log (request_log.cpp): when TRAVUNE_SIMBOARD_LOG names a
// file, every line is appended to it at once, so a crash or a kill loses
// nothing. LogLine is safe in DllMain (kernel32 only, no allocation).

void LogLine(const char* line) noexcept;
// "<operation> prop=<id> offset=<offset|-> bytes=<hex|-> result=<name>";
// offset < 0 or bytes null print "-".
void LogRequest(const char* operation, DWORD id, int offset, const BYTE* bytes, unsigned count,
                HRESULT result) noexcept;
void LogSupportQuery(DWORD id, HRESULT result, DWORD flags) noexcept;
