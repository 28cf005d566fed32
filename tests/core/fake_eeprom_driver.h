// An in-memory board driver behind the EEPROM property set that also stands
// in for the dialog's progress bar, result line and pause. Every call lands
// in one event log, so the order of requests, pauses and progress is plain:
//   Q<property> support query   G<offset> read    S<offset> write
//   P<position> progress        Z<ms> pause       show  "<result text>"
// A token ends in '!' when the request was malformed (wrong property set,
// property, length, or instance and property data not the same buffer).
#pragma once

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "eeprom_procedures.h"

class FakeEepromDriver : public IKsPropertySet,
                         public IProgressSink,
                         public IResultLine,
                         public IPause {
 public:
  // Answers `result` to the next `times` calls of kind 'Q', 'G' or 'S' with
  // this key: a query's number (0 = first), a read's or a write's offset. A
  // query refused with S_OK answers S_OK but only the other direction's flag.
  struct Refusal {
    char call;
    int key;
    HRESULT result;
    int times;
  };
  std::vector<Refusal> refusals;
  std::array<BYTE, 256> eeprom{};
  std::string log;
  std::vector<BYTE> lastGet, lastSet;  // the last request of each kind as it arrived
  int references = 0;                  // AddRef minus Release

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }

  HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID set, DWORD id, DWORD* support) override {
    Note('Q', static_cast<int>(id), !IsEepromSet(set));
    HRESULT result = S_OK;
    const bool flagless = Refused('Q', queries_++, &result) && result == S_OK;
    *support = (id == 2) != flagless ? KSPROPERTY_SUPPORT_GET : KSPROPERTY_SUPPORT_SET;
    return result;
  }

  HRESULT STDMETHODCALLTYPE Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength,
                                LPVOID data, DWORD length, DWORD* returned) override {
    auto* bytes = static_cast<BYTE*>(data);
    const bool bad =
        !IsEepromSet(set) || id != 2 || instance != data || instanceLength != 28 || length != 28;
    Note('G', bad ? -1 : bytes[3], bad);
    if (bad) return E_INVALIDARG;
    lastGet.assign(bytes, bytes + 28);
    HRESULT result = S_OK;
    Refused('G', bytes[3], &result);
    // The reply fills ReadData[0] and scribbles the offset over every other byte.
    const BYTE offset = bytes[3];
    std::memset(bytes, offset, 28);
    bytes[12] = eeprom[offset];
    *returned = 28;
    return result;
  }

  HRESULT STDMETHODCALLTYPE Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength,
                                LPVOID data, DWORD length) override {
    auto* bytes = static_cast<BYTE*>(data);
    const bool bad = !IsEepromSet(set) || id != 0 || instance != data || instanceLength != 19 ||
                     length != 19 || bytes[3] % 4 != 0;
    Note('S', bad ? -1 : bytes[3], bad);
    if (bad) return E_INVALIDARG;
    lastSet.assign(bytes, bytes + 19);
    HRESULT result = S_OK;
    if (!Refused('S', bytes[3], &result)) std::memcpy(&eeprom[bytes[3]], bytes + 4, 4);
    std::memset(bytes + 8, 0xCC, 11);  // scribbles on the tail
    return result;
  }

  void SetProgressPosition(int position) override { Note('P', position, false); }
  void Pause(DWORD milliseconds) override { Note('Z', static_cast<int>(milliseconds), false); }
  void Show() override { log += "show "; }
  void SetText(const char* text) override { log += '"' + std::string(text) + "\" "; }

 private:
  static bool IsEepromSet(REFGUID set) {
    static const GUID kEepromAccess = {
        0x96EA8493, 0x0034, 0x4935, {0x95, 0x31, 0xDF, 0xD5, 0xD6, 0x16, 0x7C, 0x8B}};
    return IsEqualGUID(set, kEepromAccess);
  }
  void Note(char call, int number, bool bad) {
    log += call + std::to_string(number) + (bad ? "! " : " ");
  }
  bool Refused(char call, int key, HRESULT* result) {
    for (Refusal& refusal : refusals) {
      if (refusal.call == call && refusal.key == key && refusal.times > 0) {
        --refusal.times;
        *result = refusal.result;
        return true;
      }
    }
    return false;
  }
  int queries_ = 0;
};
