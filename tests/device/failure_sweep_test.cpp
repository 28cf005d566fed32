// Fails each call that a successful OpenDevice makes, one at a time and with
// several results, and checks the result, the lines written and that no
// reference is left held or released twice.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <ostream>

#include "board_world.h"
#include "fake_debug_log.h"
#include "lumiq_device_access.h"

namespace {

using ::testing::IsEmpty;

struct InjectedFailure {
  std::string call;
  int occurrence;
  HRESULT result;
};

void PrintTo(const InjectedFailure& failure, std::ostream* out) {
  *out << failure.call << " #" << failure.occurrence << " -> 0x" << std::hex
       << static_cast<uint32_t>(failure.result);
}

const HRESULT kFailureResults[] = {E_FAIL, S_FALSE, E_NOINTERFACE};

const char kBoard[] = "CGraph::FindCaptureDevice() str Device string = Travune BDA Receiver";
const char kTunerFound[] = "CGraph::FindFilter( \"Travune Digital Tuner 1 (DVB-T)\" )\n";
const char kNoTuner[] = "Davad Irudazevi FailedCGraph::AddFilter( 2 ) ERROR!!\n";

// What OpenDevice writes when the given call fails; the graph is never kept.
const std::map<std::pair<std::string, int>, std::string>& ExpectedLines() {
  static const std::map<std::pair<std::string, int>, std::string> lines = {
      {{"CoCreateInstance(SystemDeviceEnum, 3)", 1},
       "CGraph::FindCaptureDevice() CoCreateInstance( CLSID_SystemDeviceEnum ) ERROR!!\n"},
      {{"devenum.CreateClassEnumerator", 1},
       "CGraph::FindCaptureDevice() pDeviceEnum->CreateClassEnumerator() ERROR!!\n"},
      {{"receivers.Next", 1}, ""},
      {{"receiver1.BindToStorage", 1}, ""},
      {{"receiverBag1.Read(DevicePath)", 1}, ""},
      {{"receiverBag1.Read(FriendlyName)", 1}, ""},
      {{"CoCreateInstance(FilterGraph, 3)", 1},
       std::string(kBoard) + "CGraph::CreateGraphBuilder( 2 ) ERROR!!\n"},
      {{"CoCreateInstance(CaptureGraphBuilder2, 3)", 1},
       std::string(kBoard) + "CGraph::CreateGraphBuilder( 3 ) ERROR!!\n"},
      {{"builder.SetFiltergraph", 1},
       std::string(kBoard) + "CGraph::CreateGraphBuilder( 4 ) ERROR!!\n"},
      {{"CoCreateInstance(SystemDeviceEnum, 1)", 1},
       std::string(kBoard) +
           "CGraph::FindFilter( 1 \xA1\xD1 CoCreateInstance(IID_ICreateDevEnum) ) ERROR!!\n" +
           kNoTuner},
      {{"devenum.CreateClassEnumerator", 2},
       std::string(kBoard) + "CGraph::FindFilter( 2 \xA1\xD1 CreateClassEnumerator() ) ERROR!!\n" +
           kNoTuner},
      {{"tuners.Next", 1}, std::string(kBoard) + "CGraph::FindFilter( 3 ) ERROR!!\n" + kNoTuner},
      {{"tuner1.BindToStorage", 1},
       std::string(kBoard) + "CGraph::FindFilter( 3 ) ERROR!!\n" + kNoTuner},
      {{"tunerBag1.Read(FriendlyName)", 1},
       std::string(kBoard) + "CGraph::FindFilter( 3 ) ERROR!!\n" + kNoTuner},
      {{"tuner1.BindToObject", 1},
       std::string(kBoard) + "CGraph::FindFilter( 3 ) ERROR!!\n" + kNoTuner},
      {{"graph.AddFilter", 1},
       std::string(kBoard) + kTunerFound + "CGraph::AddFilter( 2 ) ERROR!!\n"},
      {{"builder.FindInterface", 1},
       std::string(kBoard) + kTunerFound +
           "CGraph::AddFilter( \"Travune Digital Tuner 1 (DVB-T)\" )\n"
           "CDigitalGraph::CreateGraph( 14 ) ERROR!!\n"},
  };
  return lines;
}

std::vector<InjectedFailure> EveryFailureOfAnOpening() {
  std::vector<InjectedFailure> failures;
  CapturedDebugLog log;
  BoardWorld world;
  world.InstallBoard();
  {
    CLumiqDeviceAccess access;
    access.OpenDevice();
  }
  for (const auto& call : world.Log().FailableCalls()) {
    for (HRESULT result : kFailureResults) failures.push_back({call.first, call.second, result});
  }
  return failures;
}

class OpenDeviceFailureSweep : public ::testing::TestWithParam<InjectedFailure> {};

TEST_P(OpenDeviceFailureSweep, WritesTheLinesOfThatFailureKeepsNoGraphAndHoldsNothing) {
  const InjectedFailure& failure = GetParam();
  const auto expected = ExpectedLines().find({failure.call, failure.occurrence});
  ASSERT_NE(ExpectedLines().end(), expected) << "no expectation for this call";

  BoardWorld world;
  world.InstallBoard();
  world.Log().FailCall(failure.call, failure.result, failure.occurrence);
  CapturedDebugLog log;
  CLumiqDeviceAccess access;
  access.OpenDevice();

  EXPECT_EQ(1, world.Log().InjectedFailures());
  EXPECT_EQ(nullptr, access.m_pDigitalGraph);
  EXPECT_EQ(expected->second, log.Text());
  EXPECT_THAT(world.Com().HeldReferences(), IsEmpty());
  EXPECT_EQ(0, world.Com().OverReleases());
  EXPECT_EQ(0, world.Com().ReadsIntoUsedHolder());
}

TEST(OpenDeviceFailureSweepCoverage, EveryCallOfASuccessfulOpeningHasAnExpectation) {
  const std::vector<InjectedFailure> failures = EveryFailureOfAnOpening();
  EXPECT_EQ(ExpectedLines().size() * 3, failures.size());
}

INSTANTIATE_TEST_SUITE_P(EveryCall, OpenDeviceFailureSweep,
                         ::testing::ValuesIn(EveryFailureOfAnOpening()));

// A board among other devices: mismatching and unbindable entries before
// the ones that match. Failing any call must leave the dialog holding either
// nothing or a complete graph, and no reference astray.
void InstallCrowdedBoard(BoardWorld& world) {
  world.AddReceiver(TRAVUNE_WIDE("PCI#VEN_14F1&DEV_8852&SUBSYS_11112222"), TRAVUNE_WIDE("Other"));
  world.AddReceiver(FakeProperty::Number(3), FakeProperty::Text(TRAVUNE_WIDE("Odd")));
  world.AddReceiver(kBoardDevicePath, kBoardFriendlyName);
  world.AddReceiver(kBoardDevicePath, TRAVUNE_WIDE("Second board"));
  world.AddTuner(TRAVUNE_WIDE("Travune Digital Tuner 2 (DVB-T)"));
  world.AddTuner(FakeProperty::NullText());
  world.AddTuner(TUNER_FRIENDLY_NAME, false);
  world.AddTuner(TRAVUNE_WIDE("Travune Digital Tuner 1 (DVB-T) B"));
}

std::vector<InjectedFailure> EveryFailureOfACrowdedOpening() {
  std::vector<InjectedFailure> failures;
  CapturedDebugLog log;
  BoardWorld world;
  InstallCrowdedBoard(world);
  {
    CLumiqDeviceAccess access;
    access.OpenDevice();
  }
  for (const auto& call : world.Log().FailableCalls()) {
    for (HRESULT result : kFailureResults) failures.push_back({call.first, call.second, result});
  }
  return failures;
}

class CrowdedOpenDeviceFailureSweep : public ::testing::TestWithParam<InjectedFailure> {};

TEST_P(CrowdedOpenDeviceFailureSweep, HoldsACompleteGraphOrNothingAndNoStrayReference) {
  const InjectedFailure& failure = GetParam();
  BoardWorld world;
  InstallCrowdedBoard(world);
  world.Log().FailCall(failure.call, failure.result, failure.occurrence);
  CapturedDebugLog log;
  CLumiqDeviceAccess access;
  access.OpenDevice();

  EXPECT_EQ(1, world.Log().InjectedFailures());
  std::vector<std::string> held = world.Com().HeldReferences();
  if (access.m_pDigitalGraph != nullptr) {
    ASSERT_EQ(4u, held.size());
    EXPECT_EQ("graph+1", held[0]);
    EXPECT_EQ("builder+1", held[1]);
    EXPECT_EQ("propset+1", held[2]);
    EXPECT_EQ("tunerFilter4+1", held[3]);
    EXPECT_NE(nullptr, access.m_pDigitalGraph->PropertySet());
    access.CloseDevice();
    held = world.Com().HeldReferences();
  }
  EXPECT_THAT(held, IsEmpty());
  EXPECT_EQ(0, world.Com().OverReleases());
  EXPECT_EQ(0, world.Com().ReadsIntoUsedHolder());
}

INSTANTIATE_TEST_SUITE_P(EveryCall, CrowdedOpenDeviceFailureSweep,
                         ::testing::ValuesIn(EveryFailureOfACrowdedOpening()));

}  // namespace
