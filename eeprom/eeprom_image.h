// The reference image that an update writes and a check compares with.
#pragma once

#include "eeprom_requests.h"

extern const BYTE g_EepromImage[EEPROM_SIZE];
