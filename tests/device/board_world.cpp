#include "board_world.h"

BoardWorld::BoardWorld() {
  devices = com_.Make<FakeDeviceEnumerator>("devenum");
  graph = com_.Make<FakeFilterGraph>("graph");
  builder = com_.Make<FakeCaptureGraphBuilder>("builder");
  propertySet = com_.Make<FakePropertySet>("propset");
  com_.Register(CLSID_SystemDeviceEnum, "SystemDeviceEnum", static_cast<ICreateDevEnum*>(devices));
  com_.Register(CLSID_FilterGraph, "FilterGraph", static_cast<IGraphBuilder*>(graph));
  com_.Register(CLSID_CaptureGraphBuilder2, "CaptureGraphBuilder2",
                static_cast<ICaptureGraphBuilder2*>(builder));
}

FakeMoniker* BoardWorld::AddReceiver(const WCHAR* devicePath, const WCHAR* friendlyName) {
  return AddReceiver(devicePath != nullptr ? FakeProperty::Text(devicePath) : FakeProperty{},
                     friendlyName != nullptr ? FakeProperty::Text(friendlyName) : FakeProperty{});
}

FakeMoniker* BoardWorld::AddReceiver(const FakeProperty& devicePath,
                                     const FakeProperty& friendlyName) {
  if (receivers == nullptr) {
    receivers = com_.Make<FakeMonikerEnumerator>("receivers");
    devices->AddCategory(KSCATEGORY_BDA_RECEIVER_COMPONENT, receivers);
  }
  const std::string number = std::to_string(++receiverCount_);
  FakePropertyBag* bag = com_.Make<FakePropertyBag>("receiverBag" + number);
  if (devicePath.kind != FakeProperty::Kind::Missing) {
    bag->Set(TRAVUNE_WIDE("DevicePath"), devicePath);
  }
  if (friendlyName.kind != FakeProperty::Kind::Missing) {
    bag->Set(TRAVUNE_WIDE("FriendlyName"), friendlyName);
  }
  FakeMoniker* moniker = com_.Make<FakeMoniker>("receiver" + number, bag, nullptr);
  receivers->Add(moniker);
  return moniker;
}

FakeMoniker* BoardWorld::AddTuner(const FakeProperty& friendlyName, bool bindsToFilter) {
  if (tuners == nullptr) {
    tuners = com_.Make<FakeMonikerEnumerator>("tuners");
    devices->AddCategory(KSCATEGORY_BDA_NETWORK_TUNER, tuners);
  }
  const std::string number = std::to_string(++tunerCount_);
  FakePropertyBag* bag = com_.Make<FakePropertyBag>("tunerBag" + number);
  bag->Set(TRAVUNE_WIDE("FriendlyName"), friendlyName);
  FakeFilter* filter = bindsToFilter ? com_.Make<FakeFilter>("tunerFilter" + number) : nullptr;
  if (filter != nullptr && tunerFilters_.empty()) builder->ExposePropertySet(filter, propertySet);
  tunerFilters_.push_back(filter);
  tunerBags_.push_back(bag);
  FakeMoniker* moniker = com_.Make<FakeMoniker>("tuner" + number, bag, filter);
  tuners->Add(moniker);
  return moniker;
}

void BoardWorld::InstallBoard() {
  AddReceiver(kBoardDevicePath, kBoardFriendlyName);
  AddTuner(TUNER_FRIENDLY_NAME);
}

FakeWideString WideOfLength(const WCHAR* text, size_t length, WCHAR filler) {
  FakeWideString wide(text);
  if (wide.size() < length) wide.append(length - wide.size(), filler);
  return wide;
}
