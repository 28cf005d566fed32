#include "eeprom_file.h"

#include <windows.h>

#include "environment.h"
#include "factory_image.h"
#include "module.h"
#include "simboard_ids.h"

namespace {

const wchar_t kEepromVariable[] = L"TRAVUNE_SIMBOARD_EEPROM";
const wchar_t kFolderName[] = L"Travune Simulated Board";
const wchar_t kFileName[] = L"eeprom.bin";

bool ReadRegisteredPath(std::wstring* path) {
  std::wstring key = std::wstring(L"CLSID\\") + SIMBOARD_CLSID_TEXT;
  wchar_t buffer[MAX_PATH];
  DWORD size = sizeof(buffer);
  LONG status = RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), SIMBOARD_EEPROM_FILE_VALUE,
                             RRF_RT_REG_SZ, nullptr, buffer, &size);
  if (status != ERROR_SUCCESS || buffer[0] == L'\0') return false;
  *path = buffer;
  return true;
}

std::wstring ModuleDirectory() {
  wchar_t buffer[MAX_PATH];
  DWORD length = GetModuleFileNameW(SimBoardModule(), buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::wstring(L".");
  std::wstring path(buffer, length);
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring(L".") : path.substr(0, slash);
}

void CreateParentFolder(const std::wstring& path) {
  size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos || slash == 0) return;
  std::wstring folder = path.substr(0, slash);
  if (GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES) return;
  CreateParentFolder(folder);
  CreateDirectoryW(folder.c_str(), nullptr);
}

}  // namespace

std::wstring DefaultEepromPath() {
  std::wstring programData;
  if (ReadEnvironmentWide(L"ProgramData", &programData) && !programData.empty()) {
    return programData + L"\\" + kFolderName + L"\\" + kFileName;
  }
  return ModuleDirectory() + L"\\" + kFileName;
}

std::wstring ResolveEepromPath() {
  std::wstring path;
  if (ReadEnvironmentWide(kEepromVariable, &path) && !path.empty()) return path;
  if (ReadRegisteredPath(&path)) return path;
  return DefaultEepromPath();
}

bool LoadEepromFile(const std::wstring& path, BYTE image[EEPROM_SIZE]) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) return false;
    CopyFactoryImage(image);
    return true;
  }
  BYTE buffer[EEPROM_SIZE + 1];
  DWORD read = 0;
  BOOL ok = ReadFile(file, buffer, sizeof(buffer), &read, nullptr);
  CloseHandle(file);
  if (!ok || read != EEPROM_SIZE) return false;
  for (unsigned i = 0; i < EEPROM_SIZE; ++i) image[i] = buffer[i];
  return true;
}

bool SaveEepromFile(const std::wstring& path, const BYTE image[EEPROM_SIZE]) {
  CreateParentFolder(path);
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, image, EEPROM_SIZE, &written, nullptr);
  BOOL flushed = FlushFileBuffers(file);
  CloseHandle(file);
  return ok && flushed && written == EEPROM_SIZE;
}
