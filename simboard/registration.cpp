// regsvr32 support: the filter class and the board's two category entries,
// as the PnP manager and the KS proxy would leave them for a real board.
#include <windows.h>

#include <string>
#include <vector>

#include "device_ids.h"
#include "eeprom_file.h"
#include "environment.h"
#include "knobs.h"
#include "module.h"
#include "request_log.h"
#include "simboard_ids.h"

namespace {

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

std::wstring ClassKey() { return std::wstring(L"CLSID\\") + SIMBOARD_CLSID_TEXT; }

std::wstring InstanceParent(REFGUID category) {
  return L"CLSID\\" + GuidText(category) + L"\\Instance";
}

LONG SetText(HKEY key, const wchar_t* name, const std::wstring& value) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

HRESULT WriteClassKey(const std::wstring& modulePath, const std::wstring& eepromPath) {
  HKEY key = nullptr;
  LONG status = RegCreateKeyExW(HKEY_CLASSES_ROOT, ClassKey().c_str(), 0, nullptr, 0, KEY_WRITE,
                                nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  status = SetText(key, nullptr, SIMBOARD_CLASS_NAME);
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
                           const std::wstring& friendlyName, const wchar_t* devicePath) {
  std::wstring path = InstanceParent(category) + L"\\" + instance;
  HKEY key = nullptr;
  LONG status = RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                &key, nullptr);
  if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
  status = SetText(key, L"CLSID", SIMBOARD_CLSID_TEXT);
  if (status == ERROR_SUCCESS) status = SetText(key, L"FriendlyName", friendlyName);
  if (status == ERROR_SUCCESS) status = SetText(key, L"DevicePath", devicePath);
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
  RemoveCategoryEntry(KSCATEGORY_BDA_RECEIVER_COMPONENT, SIMBOARD_RECEIVER_INSTANCE);
  RemoveCategoryEntry(KSCATEGORY_BDA_NETWORK_TUNER, SIMBOARD_TUNER_INSTANCE);
  RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKey().c_str());
}

}  // namespace

extern "C" HRESULT WINAPI DllRegisterServer() {
  wchar_t modulePath[MAX_PATH];
  DWORD length = GetModuleFileNameW(SimBoardModule(), modulePath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return E_FAIL;

  std::vector<std::string> complaints;
  bool noReceiver = ParseNoReceiver(ReadEnvironment, &complaints);
  for (const std::string& complaint : complaints) LogLine(complaint.c_str());
  std::wstring tunerName;
  if (!ReadEnvironmentWide(L"TRAVUNE_SIMBOARD_TUNER_NAME", &tunerName) || tunerName.empty()) {
    tunerName = TUNER_FRIENDLY_NAME;
  }
  std::wstring eepromPath;
  if (!ReadEnvironmentWide(L"TRAVUNE_SIMBOARD_EEPROM", &eepromPath) || eepromPath.empty()) {
    eepromPath = DefaultEepromPath();
  }

  // Start from nothing, so a re-registration with other knobs leaves no
  // entry of the previous one behind.
  RemoveEverything();
  HRESULT hr = WriteClassKey(modulePath, eepromPath);
  if (SUCCEEDED(hr) && !noReceiver) {
    hr = WriteCategoryEntry(KSCATEGORY_BDA_RECEIVER_COMPONENT, SIMBOARD_RECEIVER_INSTANCE,
                            SIMBOARD_RECEIVER_FRIENDLY_NAME, SIMBOARD_RECEIVER_DEVICE_PATH);
  }
  if (SUCCEEDED(hr)) {
    hr = WriteCategoryEntry(KSCATEGORY_BDA_NETWORK_TUNER, SIMBOARD_TUNER_INSTANCE, tunerName,
                            SIMBOARD_TUNER_DEVICE_PATH);
  }
  if (FAILED(hr)) RemoveEverything();
  LogLine(SUCCEEDED(hr) ? "Registered" : "RegistrationFailed");
  return hr;
}

extern "C" HRESULT WINAPI DllUnregisterServer() {
  RemoveEverything();
  LogLine("Unregistered");
  return S_OK;
}
