// A fake media framework: the system device enumerator with receiver and
// tuner monikers and their property bags, the filter graph, the capture graph
// builder and the driver's property set. While it lives it is the device
// code's COM creator and DebugLog sink.
//
// Every call lands in one log, `calls`, as "<object>.<Method>" tokens (an
// object creation as "new(<class>,<context>)"); every call but Release can
// be made to fail: the failAt-th of them (0 = first) answers failWith.
// Objects count the references others hold and note a Release of a reference
// nobody holds as an over-release. Receivers are R1, R2, ... with bags R1b,
// ...; tuners T1, ... with bags T1b, ... and filters T1f, ....
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "travune_platform.h"

// A registry value: a string, a null string, a number, or none at all.
struct FakeValue {
  enum Kind { String, NullString, Number, Missing } kind;
  std::u16string text;
};
inline FakeValue Text(const std::string& ascii) {
  return {FakeValue::String, std::u16string(ascii.begin(), ascii.end())};
}

class FakeObject;
class FakeMonikers;
class FakeDevices;
class FakeGraph;
class FakeBuilder;

class FakeComWorld {
 public:
  FakeComWorld();
  ~FakeComWorld();
  FakeComWorld(const FakeComWorld&) = delete;
  FakeComWorld& operator=(const FakeComWorld&) = delete;

  void AddReceiver(const FakeValue& devicePath, const FakeValue& friendlyName);
  void AddTuner(const FakeValue& friendlyName, bool bindable = true);
  // The board as installed: its receiver (lower-case path) and tuner 1.
  void InstallBoard();
  IBaseFilter* Filter(size_t index) const { return filters_.at(index); }

  // "<object>+<references> " for each object someone holds, in creation order,
  // then "over-released " and "dirty-holder " (a read into a value holder that
  // was not empty) when that happened; "" when all is clean.
  std::string State() const;

  // Records a call; true, with the result to answer, when it is told to fail.
  bool Enter(const std::string& call, HRESULT* result);

  std::string calls;
  std::string debugLog;
  std::vector<std::string> failable;  // every call that can fail, in order
  int failAt = -1;
  HRESULT failWith = E_FAIL;
  int injected = 0;
  int overReleases = 0;
  int dirtyReads = 0;

 private:
  template <typename Fake, typename... Arguments>
  Fake* Make(Arguments&&... arguments);
  static HRESULT Create(REFCLSID classId, IUnknown* outer, DWORD context, REFIID riid,
                        void** object);

  std::vector<std::unique_ptr<FakeObject>> objects_;
  std::vector<IBaseFilter*> filters_;
  FakeMonikers* receivers_;
  FakeMonikers* tuners_;
  FakeDevices* devices_;
  FakeGraph* graph_;
  FakeBuilder* builder_;
};
