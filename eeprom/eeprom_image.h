// The reference image that an update writes and a check compares with.
#pragma once

#include "eeprom_requests.h"

// NOLINTNEXTLINE(readability-identifier-naming): the product's name for the reference image
extern const BYTE g_EepromImage[EEPROM_SIZE];
