// An in-memory board driver: a 256-byte EEPROM behind the EEPROM property
// set, with a log of the requests it accepted and knobs to refuse some.
#pragma once

#include <array>
#include <cstring>
#include <map>
#include <set>
#include <vector>

#include "eeprom_requests.h"

class FakeEepromDriver : public IKsPropertySet {
 public:
  std::array<BYTE, EEPROM_SIZE> eeprom{};
  std::vector<BYTE> writeAttempts;   // offset of every Set received
  std::set<BYTE> refusedReads;       // offsets whose Get answers E_FAIL
  std::map<BYTE, int> refusalsLeft;  // block offset -> Sets still to refuse (-1: for ever)
  ULONG references = 1;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** object) override {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }

  HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID set, DWORD id, DWORD* support) override {
    if (!IsEqualGUID(set, PROPSETID_EEPROM_ACCESS)) return E_FAIL;
    *support = id == EEPROM_PROPERTY_READ    ? KSPROPERTY_SUPPORT_GET
               : id == EEPROM_PROPERTY_WRITE ? KSPROPERTY_SUPPORT_SET
                                             : 0;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Get(REFGUID, DWORD, LPVOID, DWORD, LPVOID data, DWORD length,
                                DWORD* returned) override {
    if (length != sizeof(EEPROM_READ_REQUEST)) return E_INVALIDARG;
    auto* request = static_cast<EEPROM_READ_REQUEST*>(data);
    const BYTE offset = request->WriteData[0];
    if (refusedReads.count(offset) != 0) return E_FAIL;
    request->ReadData[0] = eeprom[offset];
    *returned = length;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID data, DWORD length) override {
    if (length != sizeof(EEPROM_WRITE_REQUEST)) return E_INVALIDARG;
    const auto* request = static_cast<const EEPROM_WRITE_REQUEST*>(data);
    const BYTE offset = request->WriteData[0];
    writeAttempts.push_back(offset);
    auto refusal = refusalsLeft.find(offset);
    if (refusal != refusalsLeft.end() && refusal->second != 0) {
      if (refusal->second > 0) --refusal->second;
      return E_FAIL;
    }
    std::memcpy(&eeprom[offset], &request->WriteData[1], EEPROM_BLOCK_SIZE);
    return S_OK;
  }
};
