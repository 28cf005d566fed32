#include "eeprom_protocol.h"

HRESULT CheckRequestBuffers(const void* instance, DWORD instanceLength, const void* data,
                            DWORD dataLength, DWORD recordSize) {
  if (data == nullptr) return E_POINTER;
  if (dataLength != recordSize) return E_INVALIDARG;
  if (instance == nullptr) return instanceLength == 0 ? S_OK : E_POINTER;
  return instanceLength == recordSize ? S_OK : E_INVALIDARG;
}

HRESULT CheckWriteRequest(const EEPROM_WRITE_REQUEST& request) {
  if (request.Selector != EEPROM_SELECTOR) return E_INVALIDARG;
  if (request.DeviceAddress != EEPROM_DEVICE_ADDRESS) return E_INVALIDARG;
  if (request.WriteCount != EEPROM_WRITE_COUNT) return E_INVALIDARG;
  unsigned offset = request.WriteData[0];
  if (offset % EEPROM_BLOCK_SIZE != 0 || offset > EEPROM_SIZE - EEPROM_BLOCK_SIZE) {
    return E_INVALIDARG;
  }
  return S_OK;
}

HRESULT CheckReadRequest(const EEPROM_READ_REQUEST& request) {
  if (request.Selector != EEPROM_SELECTOR) return E_INVALIDARG;
  if (request.DeviceAddress != EEPROM_DEVICE_ADDRESS) return E_INVALIDARG;
  if (request.WriteCount != EEPROM_READ_WRITE_COUNT) return E_INVALIDARG;
  if (request.ReadCount != EEPROM_READ_COUNT) return E_INVALIDARG;
  return S_OK;
}
