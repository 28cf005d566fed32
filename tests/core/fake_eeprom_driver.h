// An in-memory board driver behind the EEPROM property set, standing in too for
// the dialog's progress bar, result line and pause so that one event log shows their
// order: Q<property> support query, G<offset> read, S<offset> write, P<position>
// progress, Z<ms> pause, show, "<result text>"; a malformed request's token ends in '!'.
#pragma once

#include <array>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "eeprom_procedures.h"
#include "eeprom_requests.h"

struct CFakeEepromDriver : IKsPropertySet, IProgressSink, IResultLine, IPause {
  // Answers other than S_OK, in turn, to "G<offset>", "S<offset>" and the n-th
  // support query "Q#<n>" (from 0); FLAGLESS: S_OK but the other direction's flag.
  std::map<std::string, std::vector<HRESULT>> answers;
  static constexpr HRESULT FLAGLESS = 0x7F000001;
  std::array<BYTE, 256> eeprom{};
  std::string log, lastGet, lastSet;  // lastGet, lastSet: the last request of each kind, in hex

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID set, DWORD id, DWORD* support) override {
    log += "Q" + std::to_string(id) + (set == PROPSETID_EEPROM_ACCESS ? " " : "! ");
    const HRESULT result = Answer("Q#" + std::to_string(m_queries++));
    const bool flagless = result == FLAGLESS;
    *support = (id == 2) != flagless ? KSPROPERTY_SUPPORT_GET : KSPROPERTY_SUPPORT_SET;
    return flagless ? S_OK : result;
  }

  // The reply fills ReadData[0] and scribbles the offset over every other byte.
  HRESULT STDMETHODCALLTYPE Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength,
                                LPVOID data, DWORD length, DWORD* returned) override {
    auto* bytes = static_cast<BYTE*>(data);
    if (!Arrived('G', set, id == 2, instance, instanceLength, data, length, 28)) return E_FAIL;
    const HRESULT result = Answer("G" + std::to_string(bytes[3]));
    std::memset(bytes, bytes[3], 28);
    bytes[12] = eeprom[bytes[3]];
    *returned = 28;
    return result;
  }

  // The reply scribbles over the tail of the request.
  HRESULT STDMETHODCALLTYPE Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength,
                                LPVOID data, DWORD length) override {
    auto* bytes = static_cast<BYTE*>(data);
    if (!Arrived('S', set, id == 0, instance, instanceLength, data, length, 19)) return E_FAIL;
    const HRESULT result = Answer("S" + std::to_string(bytes[3]));
    if (result == S_OK) std::memcpy(&eeprom[bytes[3]], bytes + 4, 4);
    std::memset(bytes + 8, 0xCC, 11);
    return result;
  }

  void SetProgressPosition(int position) override { log += "P" + std::to_string(position) + " "; }
  void Pause(DWORD milliseconds) override { log += "Z" + std::to_string(milliseconds) + " "; }
  void Show() override { log += "show "; }
  void SetText(const char* text) override { log += '"' + std::string(text) + "\" "; }

  static std::string Hex(const BYTE* bytes, int length) {
    static const char DIGITS[] = "0123456789abcdef";
    std::string hex;
    for (int i = 0; i < length; ++i) hex.append({DIGITS[bytes[i] >> 4], DIGITS[bytes[i] & 15]});
    return hex;
  }

 private:
  // Notes the request; false when it is malformed.
  bool Arrived(char call, REFGUID set, bool rightProperty, LPVOID instance, DWORD instanceLength,
               LPVOID data, DWORD length, DWORD wantedLength) {
    const bool good = set == PROPSETID_EEPROM_ACCESS && rightProperty && instance == data &&
                      instanceLength == wantedLength && length == wantedLength &&
                      (call == 'G' || static_cast<BYTE*>(data)[3] % 4 == 0);
    log += call + (good ? std::to_string(static_cast<BYTE*>(data)[3]) + " " : "! ");
    if (good) (call == 'G' ? lastGet : lastSet) = Hex(static_cast<BYTE*>(data), wantedLength);
    return good;
  }
  HRESULT Answer(const std::string& request) {
    std::vector<HRESULT>& queued = answers[request];
    if (queued.empty()) return S_OK;
    const HRESULT result = queued.front();
    queued.erase(queued.begin());
    return result;
  }
  int m_queries = 0;
};
