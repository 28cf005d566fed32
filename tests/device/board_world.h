// A fake media framework holding the board: receiver components and network
// tuners as registered devices, a filter graph, a capture graph builder and
// the driver's property set. Categories stay unregistered (CreateClassEnumerator
// answers S_FALSE) until a device of theirs is added.
#pragma once

#include <string>
#include <vector>

#include "device_ids.h"
#include "fake_com.h"

const WCHAR kBoardDevicePath[] = TRAVUNE_WIDE(
    "\\\\?\\pci#ven_14f1&dev_8852&subsys_2a6c5e1d&rev_04#4&2f1c&0&00e4#"
    "{fd0a5af4-b41d-11d2-9c95-00c04f7971e0}\\{03884cb6-e89a-4deb-b69e-8dc621686e6a}");
const WCHAR kBoardFriendlyName[] = TRAVUNE_WIDE("Travune BDA Receiver");

class BoardWorld {
 public:
  BoardWorld();

  // A receiver component; a null text leaves that property unset.
  FakeMoniker* AddReceiver(const WCHAR* devicePath, const WCHAR* friendlyName);
  FakeMoniker* AddReceiver(const FakeProperty& devicePath, const FakeProperty& friendlyName);
  // A network tuner that binds to a filter (or fails to bind without one).
  FakeMoniker* AddTuner(const FakeProperty& friendlyName, bool bindsToFilter = true);
  FakeMoniker* AddTuner(const WCHAR* friendlyName, bool bindsToFilter = true) {
    return AddTuner(FakeProperty::Text(friendlyName), bindsToFilter);
  }
  // The board as installed: one matching receiver and its tuner 1.
  void InstallBoard();

  FakeComWorld& Com() { return com_; }
  FakeCallLog& Log() { return com_.Log(); }
  FakeFilter* TunerFilter(size_t index) const { return tunerFilters_.at(index); }
  FakePropertyBag* TunerBag(size_t index) const { return tunerBags_.at(index); }

  FakeDeviceEnumerator* devices;
  FakeMonikerEnumerator* receivers = nullptr;
  FakeMonikerEnumerator* tuners = nullptr;
  FakeFilterGraph* graph;
  FakeCaptureGraphBuilder* builder;
  FakePropertySet* propertySet;

 private:
  FakeComWorld com_;
  std::vector<FakeFilter*> tunerFilters_;
  std::vector<FakePropertyBag*> tunerBags_;
  int receiverCount_ = 0;
  int tunerCount_ = 0;
};

// A wide string made of text followed by filler up to length characters.
FakeWideString WideOfLength(const WCHAR* text, size_t length, WCHAR filler);
