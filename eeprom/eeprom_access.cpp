#include "eeprom_access.h"

#include <cstring>

namespace {
// One buffer per kind of request, zero at start and reused for the whole run:
// what a driver's reply leaves in it stays until the next request.
EEPROM_READ_REQUEST g_readRequest = {};
EEPROM_WRITE_REQUEST g_writeRequest = {};

bool Supports(IKsPropertySet* propertySet, DWORD propertyId, DWORD neededFlag) {
  DWORD support = 0;
  return propertySet->QuerySupported(PROPSETID_EEPROM_ACCESS, propertyId, &support) == S_OK &&
         (support & neededFlag) != 0;
}
}  // namespace

bool ReadEepromByte(IKsPropertySet* propertySet, BYTE offset, BYTE* value) {
  g_readRequest.Selector = EEPROM_SELECTOR;
  g_readRequest.DeviceAddress = EEPROM_DEVICE_ADDRESS;
  g_readRequest.WriteCount = EEPROM_READ_WRITE_COUNT;
  g_readRequest.WriteData[0] = offset;
  g_readRequest.ReadCount = EEPROM_READ_COUNT;
  if (!Supports(propertySet, EEPROM_PROPERTY_READ, KSPROPERTY_SUPPORT_GET)) return false;
  DWORD returned = 0;
  const HRESULT result =
      propertySet->Get(PROPSETID_EEPROM_ACCESS, EEPROM_PROPERTY_READ, &g_readRequest,
                       sizeof(g_readRequest), &g_readRequest, sizeof(g_readRequest), &returned);
  if (result != S_OK) return false;
  *value = g_readRequest.ReadData[0];
  return true;
}

bool WriteEepromBlock(IKsPropertySet* propertySet, BYTE offset, const BYTE data[4]) {
  g_writeRequest.Selector = EEPROM_SELECTOR;
  g_writeRequest.DeviceAddress = EEPROM_DEVICE_ADDRESS;
  g_writeRequest.WriteCount = EEPROM_WRITE_COUNT;
  g_writeRequest.WriteData[0] = offset;
  std::memcpy(&g_writeRequest.WriteData[1], data, EEPROM_BLOCK_SIZE);
  // A driver may scribble on the buffer it was handed; the tail of every
  // write request must still go out as zeros.
  std::memset(&g_writeRequest.WriteData[1 + EEPROM_BLOCK_SIZE], 0,
              sizeof(g_writeRequest.WriteData) - 1 - EEPROM_BLOCK_SIZE);
  if (!Supports(propertySet, EEPROM_PROPERTY_WRITE, KSPROPERTY_SUPPORT_SET)) return false;
  return propertySet->Set(PROPSETID_EEPROM_ACCESS, EEPROM_PROPERTY_WRITE, &g_writeRequest,
                          sizeof(g_writeRequest), &g_writeRequest, sizeof(g_writeRequest)) == S_OK;
}
