// The board's EEPROM lives in a 256-byte file so that it survives from one
// run to the next. A missing file is a board fresh from the factory.
#pragma once

#include <string>

#include "eeprom_requests.h"

// TRAVUNE_SIMBOARD_EEPROM if set, else the file recorded at registration,
// else DefaultEepromPath().
std::wstring ResolveEepromPath();

// %ProgramData%\Travune Simulated Board\eeprom.bin, or beside the DLL when
// there is no ProgramData.
std::wstring DefaultEepromPath();

// False (image untouched) when the file exists but cannot be read as
// exactly 256 bytes. A missing file gives the factory image.
bool LoadEepromFile(const std::wstring& path, BYTE image[EEPROM_SIZE]);

// Writes all 256 bytes, creating the folder if needed.
bool SaveEepromFile(const std::wstring& path, const BYTE image[EEPROM_SIZE]);
