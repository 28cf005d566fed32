#include "simulated_eeprom.h"

#include <utility>

#include "eeprom_file.h"
#include "request_log.h"

namespace {

// One board per machine: filters of several threads share its file.
std::mutex g_fileMutex;

}  // namespace

SimulatedEeprom::SimulatedEeprom(std::wstring path, FilterKnobs knobs)
    : path_(std::move(path)), knobs_(std::move(knobs)) {}

DWORD SimulatedEeprom::SupportFor(DWORD propertyId) const {
  if (propertyId == EEPROM_PROPERTY_WRITE) {
    return knobs_.omitSetSupport ? 0 : KSPROPERTY_SUPPORT_SET;
  }
  if (propertyId == EEPROM_PROPERTY_READ) {
    return knobs_.omitGetSupport ? 0 : KSPROPERTY_SUPPORT_GET;
  }
  return 0;
}

HRESULT SimulatedEeprom::WriteBlock(BYTE offset, const BYTE data[EEPROM_BLOCK_SIZE]) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    auto refused = knobs_.refusedBlocks.find(offset);
    if (refused != knobs_.refusedBlocks.end() && refused->second != 0) {
      if (refused->second != REFUSE_FOREVER) --refused->second;
      return E_FAIL;
    }
  }
  std::lock_guard<std::mutex> fileLock(g_fileMutex);
  BYTE image[EEPROM_SIZE];
  if (!LoadEepromFile(path_, image)) {
    LogLine("EepromFileError load");
    return E_FAIL;
  }
  for (unsigned i = 0; i < EEPROM_BLOCK_SIZE; ++i) image[offset + i] = data[i];
  if (!SaveEepromFile(path_, image)) {
    LogLine("EepromFileError save");
    return E_FAIL;
  }
  return knobs_.setResult;
}

HRESULT SimulatedEeprom::ReadByte(BYTE offset, BYTE* value) {
  if (knobs_.refusedReads.count(offset) != 0) return E_FAIL;
  std::lock_guard<std::mutex> fileLock(g_fileMutex);
  BYTE image[EEPROM_SIZE];
  if (!LoadEepromFile(path_, image)) {
    LogLine("EepromFileError load");
    return E_FAIL;
  }
  *value = image[offset];
  return knobs_.getResult;
}
