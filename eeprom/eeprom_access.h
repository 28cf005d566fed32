// The two EEPROM requests: read one byte, write one four-byte block.
// Every request is preceded by its own support query, and only an exact
// S_OK counts. The property set is borrowed, never released.
#pragma once

#include "eeprom_requests.h"

// Reads the byte at offset into *value. False when the driver did not
// answer the query and the read with exactly S_OK and the GET flag.
bool ReadEepromByte(IKsPropertySet* propertySet, BYTE offset, BYTE* value);

// Writes data[0..3] at offset (a multiple of 4, at most 252). False when the
// block was not accepted.
bool WriteEepromBlock(IKsPropertySet* propertySet, BYTE offset, const BYTE data[4]);
