// regsvr32 support: the filter class and the board's two category entries,
// as the PnP manager and the KS proxy would leave them for a real board, and
// the default EEPROM folder, open to every user.
#include <aclapi.h>
#include <sddl.h>

#include <string>

#include "device_ids.h"
#include "simboard_private.h"

namespace {

const WCHAR CLASS_NAME[] = L"Travune Simulated Board";

// The entries' key names under their categories' Instance keys, and the
// receiver's friendly name.
const WCHAR RECEIVER_INSTANCE[] = L"Travune Simulated Receiver";
const WCHAR TUNER_INSTANCE[] = L"Travune Simulated Tuner 1";
const WCHAR RECEIVER_FRIENDLY_NAME[] = L"Travune Digital Receiver (DVB-T)";

// A device-interface path the way the PnP manager writes it, in lower case:
// the board's bus identity, revision and instance id, the interface class,
// a reference string.
std::wstring DevicePath(REFGUID interfaceClass) {
  std::wstring path = std::wstring(L"\\\\?\\") + BOARD_DEVICE_PATH_PATTERN +
                      L"&rev_04#4&1a2b3c4d&0&00e0#" + GuidText(interfaceClass) +
                      L"\\{cde5c0c2-d57b-4636-a91a-c5f75d29fa8a}";
  for (wchar_t& c : path) {
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  }
  return path;
}

std::wstring InstanceParent(REFGUID category) {
  return L"CLSID\\" + GuidText(category) + L"\\Instance";
}

LONG SetText(HKEY key, const wchar_t* name, const std::wstring& value) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

HRESULT WriteClassKey(const std::wstring& modulePath, const std::wstring& eepromPath) {
  HKEY key = nullptr;
  LONG status = RegCreateKeyExW(HKEY_CLASSES_ROOT, SimBoardClassKey().c_str(), 0, nullptr, 0,
                                KEY_WRITE, nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  status = SetText(key, nullptr, CLASS_NAME);
  if (status == ERROR_SUCCESS) status = SetText(key, SIMBOARD_EEPROM_FILE_VALUE, eepromPath);
  HKEY server = nullptr;
  if (status == ERROR_SUCCESS) {
    status = RegCreateKeyExW(key, L"InprocServer32", 0, nullptr, 0, KEY_WRITE, nullptr, &server,
                             nullptr);
  }
  if (status == ERROR_SUCCESS) {
    status = SetText(server, nullptr, modulePath);
    if (status == ERROR_SUCCESS) status = SetText(server, L"ThreadingModel", L"Both");
    RegCloseKey(server);
  }
  RegCloseKey(key);
  return HRESULT_FROM_WIN32(status);
}

HRESULT WriteCategoryEntry(REFGUID category, const wchar_t* instance,
                           const std::wstring& friendlyName) {
  std::wstring path = InstanceParent(category) + L"\\" + instance;
  HKEY key = nullptr;
  LONG status = RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                &key, nullptr);
  if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  status = SetText(key, L"CLSID", GuidText(CLSID_TravuneSimBoard));
  if (status == ERROR_SUCCESS) status = SetText(key, L"FriendlyName", friendlyName);
  if (status == ERROR_SUCCESS) status = SetText(key, L"DevicePath", DevicePath(category));
  RegCloseKey(key);
  return HRESULT_FROM_WIN32(status);
}

bool KeyIsEmpty(HKEY parent, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(parent, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD subkeys = 0;
  DWORD values = 0;
  LONG status = RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                 &values, nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(key);
  return status == ERROR_SUCCESS && subkeys == 0 && values == 0;
}

// Removes our entry, then the Instance and category keys if that left them
// empty (they may hold other devices' entries on a real machine).
void RemoveCategoryEntry(REFGUID category, const wchar_t* instance) {
  std::wstring parent = InstanceParent(category);
  RegDeleteTreeW(HKEY_CLASSES_ROOT, (parent + L"\\" + instance).c_str());
  if (KeyIsEmpty(HKEY_CLASSES_ROOT, parent)) RegDeleteKeyW(HKEY_CLASSES_ROOT, parent.c_str());
  std::wstring categoryKey = L"CLSID\\" + GuidText(category);
  if (KeyIsEmpty(HKEY_CLASSES_ROOT, categoryKey)) {
    RegDeleteKeyW(HKEY_CLASSES_ROOT, categoryKey.c_str());
  }
}

void RemoveEverything() {
  RemoveCategoryEntry(KSCATEGORY_BDA_RECEIVER_COMPONENT, RECEIVER_INSTANCE);
  RemoveCategoryEntry(KSCATEGORY_BDA_NETWORK_TUNER, TUNER_INSTANCE);
  RegDeleteTreeW(HKEY_CLASSES_ROOT, SimBoardClassKey().c_str());
}

// An administrator registers the board (and may reset it, or run the
// program elevated), which leaves the EEPROM file owned by the
// administrators; every user must still be able to replace it. So every
// file made in the folder gives the machine's users the right to modify and
// delete it, and the folder lets them add files. The entries are set on a
// folder that an earlier registration made too, and Windows passes them on
// to the files already in it.
HRESULT OpenFolderToUsers(const std::wstring& folder) {
  if (!CreateDirectoryW(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
    return HRESULT_FROM_WIN32(GetLastError());
  // SYSTEM and the administrators full control (FA), the users modify
  // (read, write, execute, delete), each passed on to subfolders and files.
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(
          L"D:(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FRFWFXSD;;;BU)", SDDL_REVISION_1, &descriptor,
          nullptr)) {
    return HRESULT_FROM_WIN32(GetLastError());
  }
  BOOL present = FALSE;
  BOOL defaulted = FALSE;
  PACL dacl = nullptr;
  GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted);
  DWORD status = SetNamedSecurityInfoW(const_cast<wchar_t*>(folder.c_str()), SE_FILE_OBJECT,
                                       DACL_SECURITY_INFORMATION, nullptr, nullptr, dacl, nullptr);
  LocalFree(descriptor);
  return HRESULT_FROM_WIN32(status);
}

HRESULT RegisterServer() {
  wchar_t modulePath[MAX_PATH];
  DWORD length = GetModuleFileNameW(SimBoardModule(), modulePath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return E_FAIL;

  std::wstring tunerName = ReadEnvironmentWide(L"TRAVUNE_SIMBOARD_TUNER_NAME");
  if (tunerName.empty()) tunerName = TUNER_FRIENDLY_NAME;
  std::wstring eepromPath = ReadEnvironmentWide(L"TRAVUNE_SIMBOARD_EEPROM");
  // A file that the environment names is left to whoever named it.
  const std::wstring sharedFolder = eepromPath.empty() ? SharedEepromFolder() : std::wstring();
  if (eepromPath.empty()) eepromPath = DefaultEepromPath();

  // Start from nothing, so that the board's keys hold exactly what this
  // registration writes, whatever an earlier one left there.
  RemoveEverything();
  HRESULT hr = WriteClassKey(modulePath, eepromPath);
  if (SUCCEEDED(hr)) {
    hr = WriteCategoryEntry(KSCATEGORY_BDA_RECEIVER_COMPONENT, RECEIVER_INSTANCE,
                            RECEIVER_FRIENDLY_NAME);
  }
  if (SUCCEEDED(hr)) {
    hr = WriteCategoryEntry(KSCATEGORY_BDA_NETWORK_TUNER, TUNER_INSTANCE, tunerName);
  }
  if (SUCCEEDED(hr) && !sharedFolder.empty()) hr = OpenFolderToUsers(sharedFolder);
  if (FAILED(hr)) RemoveEverything();
  return hr;
}

}  // namespace

extern "C" HRESULT WINAPI DllRegisterServer() {
  HRESULT hr = WithoutExceptions(RegisterServer);
  LogLine(SUCCEEDED(hr) ? "Registered" : "RegistrationFailed");
  return hr;
}

extern "C" HRESULT WINAPI DllUnregisterServer() {
  HRESULT hr = WithoutExceptions([] {
    RemoveEverything();
    return S_OK;
  });
  LogLine("Unregistered");
  return hr;
}
