// The board's EEPROM as the driver sees it: the file that holds it and the
// fault knobs read when the filter was made. Requests reach it already
// checked for form; it decides only what the part itself would.
#pragma once

#include <mutex>
#include <string>

#include "eeprom_requests.h"
#include "knobs.h"

class SimulatedEeprom {
 public:
  SimulatedEeprom(std::wstring path, FilterKnobs knobs);

  // KSPROPERTY_SUPPORT_* flags for a property of the EEPROM set.
  DWORD SupportFor(DWORD propertyId) const;

  // Stores data[0..3] at offset (already checked) and writes the file.
  HRESULT WriteBlock(BYTE offset, const BYTE data[EEPROM_BLOCK_SIZE]);

  // *value is set whenever the byte was read, also when a knob makes the
  // answer S_FALSE.
  HRESULT ReadByte(BYTE offset, BYTE* value);

  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
  FilterKnobs knobs_;
  std::mutex mutex_;
};
