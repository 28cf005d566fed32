// The driver's property-set interface on the tuner filter: the EEPROM set.
#include <vfwmsgs.h>

#include <cstdio>
#include <cstring>

#include "eeprom_protocol.h"
#include "request_log.h"
#include "result_names.h"
#include "tuner_filter.h"

namespace {

// One request-log line: operation, property, offset, bytes, result.
void LogRequest(const char* operation, DWORD id, int offset, const BYTE* bytes, unsigned count,
                HRESULT result) {
  char offsetText[8] = "-";
  if (offset >= 0) std::snprintf(offsetText, sizeof(offsetText), "%d", offset);
  char bytesText[2 * EEPROM_BLOCK_SIZE + 1] = "-";
  if (bytes != nullptr) {
    for (unsigned i = 0; i < count; ++i) std::snprintf(bytesText + 2 * i, 3, "%02x", bytes[i]);
  }
  char resultBuffer[16];
  LogFormat("%s prop=%lu offset=%s bytes=%s result=%s", operation, static_cast<unsigned long>(id),
            offsetText, bytesText, ResultName(result, resultBuffer, sizeof(resultBuffer)));
}

HRESULT CheckProperty(REFGUID set, DWORD id, DWORD expected) {
  if (!IsEqualGUID(set, PROPSETID_EEPROM_ACCESS)) return E_PROP_SET_UNSUPPORTED;
  return id == expected ? S_OK : E_PROP_ID_UNSUPPORTED;
}

// The property and the buffers, checked before the request is read; a
// refusal is logged without offset or bytes.
HRESULT AcceptRequest(const char* operation, REFGUID set, DWORD id, DWORD expected,
                      const void* instance, DWORD instanceLength, const void* data,
                      DWORD dataLength, DWORD recordSize) {
  HRESULT hr = CheckProperty(set, id, expected);
  if (hr == S_OK) hr = CheckRequestBuffers(instance, instanceLength, data, dataLength, recordSize);
  if (hr != S_OK) LogRequest(operation, id, -1, nullptr, 0, hr);
  return hr;
}

}  // namespace

HRESULT STDMETHODCALLTYPE TunerFilter::Set(REFGUID set, DWORD id, LPVOID instance,
                                           DWORD instanceLength, LPVOID data, DWORD dataLength) {
  HRESULT hr = AcceptRequest("Set", set, id, EEPROM_PROPERTY_WRITE, instance, instanceLength, data,
                             dataLength, sizeof(EEPROM_WRITE_REQUEST));
  if (hr != S_OK) return hr;
  EEPROM_WRITE_REQUEST request;
  std::memcpy(&request, data, sizeof(request));
  const BYTE* block = &request.WriteData[1];
  hr = CheckWriteRequest(request);
  if (hr == S_OK) hr = eeprom_->WriteBlock(request.WriteData[0], block);
  LogRequest("Set", id, request.WriteData[0], block, EEPROM_BLOCK_SIZE, hr);
  return hr;
}

HRESULT STDMETHODCALLTYPE TunerFilter::Get(REFGUID set, DWORD id, LPVOID instance,
                                           DWORD instanceLength, LPVOID data, DWORD dataLength,
                                           DWORD* returned) {
  HRESULT hr = AcceptRequest("Get", set, id, EEPROM_PROPERTY_READ, instance, instanceLength, data,
                             dataLength, sizeof(EEPROM_READ_REQUEST));
  if (hr != S_OK) return hr;
  EEPROM_READ_REQUEST request;
  std::memcpy(&request, data, sizeof(request));
  BYTE offset = request.WriteData[0];
  BYTE value = 0;
  hr = CheckReadRequest(request);
  if (hr == S_OK) hr = eeprom_->ReadByte(offset, &value);
  bool answered = hr == S_OK || hr == S_FALSE;
  if (answered) {
    static_cast<EEPROM_READ_REQUEST*>(data)->ReadData[0] = value;
    if (returned != nullptr) *returned = sizeof(EEPROM_READ_REQUEST);
  }
  LogRequest("Get", id, offset, answered ? &value : nullptr, 1, hr);
  return hr;
}

HRESULT STDMETHODCALLTYPE TunerFilter::QuerySupported(REFGUID set, DWORD id, DWORD* support) {
  HRESULT hr = S_OK;
  if (support == nullptr) {
    hr = E_POINTER;
  } else if (!IsEqualGUID(set, PROPSETID_EEPROM_ACCESS)) {
    hr = E_PROP_SET_UNSUPPORTED;
  } else if (id != EEPROM_PROPERTY_WRITE && id != EEPROM_PROPERTY_READ) {
    hr = E_PROP_ID_UNSUPPORTED;
  }
  DWORD flags = hr == S_OK ? eeprom_->SupportFor(id) : 0;
  if (hr == S_OK) *support = flags;
  char resultBuffer[16];
  LogFormat("QuerySupported prop=%lu offset=- bytes=- result=%s support=%lu",
            static_cast<unsigned long>(id), ResultName(hr, resultBuffer, sizeof(resultBuffer)),
            static_cast<unsigned long>(flags));
  return hr;
}
