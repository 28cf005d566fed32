// The board's EEPROM: where its file is, how the file is read and replaced,
// what a board fresh from the factory holds, and which request records the
// part accepts.
#include <cstring>
#include <mutex>
#include <utility>

#include "simboard_private.h"

namespace {

// One board per machine: the filters of every thread share its file.
std::mutex g_mutex;

// The first production run: the same PCI identity, an older tuner set-up
// byte at 0x1C and an older IF setting at 0x24; the rest of the part erased.
// clang-format off
const BYTE FACTORY_PROGRAMMED[] = {
    0x20, 0x00, 0x13, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x05, 0x00, 0x1d, 0x5e, 0x6c, 0x2a,  // 0x00
    0x50, 0x03, 0x05, 0x00, 0x04, 0x80, 0x00, 0x00, 0x0c, 0x03, 0x05, 0x80, 0x0d, 0x01, 0x00, 0x00,  // 0x10
    0x82, 0x01, 0x00, 0x22, 0x70, 0x00, 0x00, 0x00,  // 0x20
};
// clang-format on
const BYTE ERASED_BYTE = 0xFF;

void CopyFactoryImage(BYTE image[EEPROM_SIZE]) {
  std::memset(image, ERASED_BYTE, EEPROM_SIZE);
  std::memcpy(image, FACTORY_PROGRAMMED, sizeof(FACTORY_PROGRAMMED));
}

std::wstring ParentOf(const std::wstring& path) {
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

void CreateFolder(const std::wstring& folder) {
  if (folder.empty() || GetFileAttributesW(folder.c_str()) != INVALID_FILE_ATTRIBUTES) return;
  CreateFolder(ParentOf(folder));
  CreateDirectoryW(folder.c_str(), nullptr);
}

// False (image untouched, the failure logged) when the file exists but
// cannot be read as exactly 256 bytes. A missing file gives the factory image.
bool LoadEepromFile(const std::wstring& path, BYTE image[EEPROM_SIZE]) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
      LogLine("EepromFileError load");
      return false;
    }
    CopyFactoryImage(image);
    return true;
  }
  BYTE buffer[EEPROM_SIZE + 1];
  DWORD read = 0;
  BOOL ok = ReadFile(file, buffer, sizeof(buffer), &read, nullptr);
  CloseHandle(file);
  if (!ok || read != EEPROM_SIZE) {
    LogLine("EepromFileError load");
    return false;
  }
  std::memcpy(image, buffer, EEPROM_SIZE);
  return true;
}

// The new contents go to a file beside the old one, which then takes the
// old one's place in one step: a crash leaves the old or the new 256 bytes,
// never a short file.
bool SaveEepromFile(const std::wstring& path, const BYTE image[EEPROM_SIZE]) {
  CreateFolder(ParentOf(path));
  std::wstring temporary = path + L".new";
  HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(file, image, EEPROM_SIZE, &written, nullptr) && written == EEPROM_SIZE &&
            FlushFileBuffers(file);
  CloseHandle(file);
  if (ok && MoveFileExW(temporary.c_str(), path.c_str(),
                        MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return true;
  }
  DeleteFileW(temporary.c_str());
  return false;
}

bool ReadRegisteredPath(std::wstring* path) {
  wchar_t buffer[MAX_PATH];
  DWORD size = sizeof(buffer);
  LONG status = RegGetValueW(HKEY_CLASSES_ROOT, SimBoardClassKey().c_str(),
                             SIMBOARD_EEPROM_FILE_VALUE, RRF_RT_REG_SZ, nullptr, buffer, &size);
  if (status != ERROR_SUCCESS || buffer[0] == L'\0') return false;
  *path = buffer;
  return true;
}

bool AddressesTheEeprom(BYTE selector, BYTE deviceAddress) {
  return selector == EEPROM_SELECTOR && deviceAddress == EEPROM_DEVICE_ADDRESS;
}

}  // namespace

std::wstring SharedEepromFolder() {
  std::wstring programData = ReadEnvironmentWide(L"ProgramData");
  return programData.empty() ? programData : programData + L"\\Travune Simulated Board";
}

std::wstring DefaultEepromPath() {
  std::wstring folder = SharedEepromFolder();
  if (folder.empty()) {
    wchar_t module[MAX_PATH];
    DWORD length = GetModuleFileNameW(SimBoardModule(), module, MAX_PATH);
    if (length != 0 && length < MAX_PATH) folder = ParentOf(std::wstring(module, length));
  }
  return (folder.empty() ? std::wstring(L".") : folder) + L"\\eeprom.bin";
}

std::wstring ResolveEepromPath() {
  std::wstring path = ReadEnvironmentWide(L"TRAVUNE_SIMBOARD_EEPROM");
  if (!path.empty() || ReadRegisteredPath(&path)) return path;
  return DefaultEepromPath();
}

bool RestoreFactoryImage(const std::wstring& path) {
  BYTE image[EEPROM_SIZE];
  CopyFactoryImage(image);
  std::lock_guard<std::mutex> lock(g_mutex);
  return SaveEepromFile(path, image);
}

HRESULT CheckRequestBuffers(const void* instance, DWORD instanceLength, const void* data,
                            DWORD dataLength, DWORD recordSize) noexcept {
  if (instance == nullptr || data == nullptr) return E_POINTER;
  return instanceLength == recordSize && dataLength == recordSize ? S_OK : E_INVALIDARG;
}

CSimulatedEeprom::CSimulatedEeprom(std::wstring path, int refusedBlock)
    : m_path(std::move(path)), m_refusedBlock(refusedBlock) {}

DWORD CSimulatedEeprom::SupportFor(DWORD propertyId) noexcept {
  if (propertyId == EEPROM_PROPERTY_WRITE) return KSPROPERTY_SUPPORT_SET;
  if (propertyId == EEPROM_PROPERTY_READ) return KSPROPERTY_SUPPORT_GET;
  return 0;
}

HRESULT CSimulatedEeprom::Write(const EEPROM_WRITE_REQUEST& request) {
  unsigned offset = request.WriteData[0];
  if (!AddressesTheEeprom(request.Selector, request.DeviceAddress) ||
      request.WriteCount != EEPROM_WRITE_COUNT || offset % EEPROM_BLOCK_SIZE != 0 ||
      offset > EEPROM_SIZE - EEPROM_BLOCK_SIZE) {
    return E_INVALIDARG;
  }
  if (static_cast<int>(offset) == m_refusedBlock) return E_FAIL;
  std::lock_guard<std::mutex> lock(g_mutex);
  BYTE image[EEPROM_SIZE];
  if (!LoadEepromFile(m_path, image)) return E_FAIL;
  std::memcpy(image + offset, &request.WriteData[1], EEPROM_BLOCK_SIZE);
  if (!SaveEepromFile(m_path, image)) {
    LogLine("EepromFileError save");
    return E_FAIL;
  }
  return S_OK;
}

HRESULT CSimulatedEeprom::Read(const EEPROM_READ_REQUEST& request, BYTE* value) {
  if (!AddressesTheEeprom(request.Selector, request.DeviceAddress) ||
      request.WriteCount != EEPROM_READ_WRITE_COUNT || request.ReadCount != EEPROM_READ_COUNT) {
    return E_INVALIDARG;
  }
  BYTE offset = request.WriteData[0];
  std::lock_guard<std::mutex> lock(g_mutex);
  BYTE image[EEPROM_SIZE];
  if (!LoadEepromFile(m_path, image)) return E_FAIL;
  *value = image[offset];
  return S_OK;
}
