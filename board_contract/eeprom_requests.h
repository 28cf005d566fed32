// The board driver's EEPROM property set and its two request records.
// Shared by the program and the simulated board, so both agree on every byte.
#pragma once

#include <cstddef>

#include "travune_platform.h"

// {96EA8493-0034-4935-9531-DFD5D6167C8B}
extern const GUID PROPSETID_EEPROM_ACCESS;

enum EepromPropertyId : DWORD {
  EEPROM_PROPERTY_WRITE = 0,
  EEPROM_PROPERTY_READ = 2,
};

const BYTE EEPROM_SELECTOR = 1;
const BYTE EEPROM_DEVICE_ADDRESS = 0xA0;  // the EEPROM's 8-bit bus address
const BYTE EEPROM_WRITE_COUNT = 5;        // offset byte plus four data bytes
const BYTE EEPROM_READ_WRITE_COUNT = 1;   // only the offset byte is sent
const BYTE EEPROM_READ_COUNT = 1;
const unsigned EEPROM_SIZE = 256;
const unsigned EEPROM_BLOCK_SIZE = 4;

// NOLINTNEXTLINE(readability-identifier-naming): the driver's name for the record
struct EEPROM_WRITE_REQUEST {
  BYTE Selector;
  BYTE DeviceAddress;
  BYTE WriteCount;
  BYTE WriteData[16];  // [0] offset, [1..4] the four bytes, [5..15] zero
};

// NOLINTNEXTLINE(readability-identifier-naming): the driver's name for the record
struct EEPROM_READ_REQUEST {
  BYTE Selector;
  BYTE DeviceAddress;
  BYTE WriteCount;
  BYTE WriteData[8];  // [0] offset; [1..7] never written by the program
  BYTE ReadCount;
  BYTE ReadData[16];  // [0] the byte stored at the offset
};

static_assert(sizeof(EEPROM_WRITE_REQUEST) == 19, "write request is 19 bytes");
static_assert(offsetof(EEPROM_WRITE_REQUEST, Selector) == 0, "write layout");
static_assert(offsetof(EEPROM_WRITE_REQUEST, DeviceAddress) == 1, "write layout");
static_assert(offsetof(EEPROM_WRITE_REQUEST, WriteCount) == 2, "write layout");
static_assert(offsetof(EEPROM_WRITE_REQUEST, WriteData) == 3, "write layout");

static_assert(sizeof(EEPROM_READ_REQUEST) == 28, "read request is 28 bytes");
static_assert(offsetof(EEPROM_READ_REQUEST, Selector) == 0, "read layout");
static_assert(offsetof(EEPROM_READ_REQUEST, DeviceAddress) == 1, "read layout");
static_assert(offsetof(EEPROM_READ_REQUEST, WriteCount) == 2, "read layout");
static_assert(offsetof(EEPROM_READ_REQUEST, WriteData) == 3, "read layout");
static_assert(offsetof(EEPROM_READ_REQUEST, ReadCount) == 11, "read layout");
static_assert(offsetof(EEPROM_READ_REQUEST, ReadData) == 12, "read layout");
