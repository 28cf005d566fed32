#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "board_world.h"
#include "digital_graph.h"
#include "fake_debug_log.h"
#include "lumiq_device_access.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const char kBoardFoundLine[] =
    "CGraph::FindCaptureDevice() str Device string = Travune BDA Receiver";
const char kTunerFoundLines[] =
    "CGraph::FindFilter( \"Travune Digital Tuner 1 (DVB-T)\" )\n"
    "CGraph::AddFilter( \"Travune Digital Tuner 1 (DVB-T)\" )\n";

// Records its own destruction in the shared call log.
class GraphProbe : public CDigitalGraph {
 public:
  explicit GraphProbe(FakeCallLog& log) : log_(log) {}
  ~GraphProbe() override { log_.Note("probe.Deleted"); }

 private:
  FakeCallLog& log_;
};

class OpenDeviceTest : public ::testing::Test {
 protected:
  BoardWorld world;
  CapturedDebugLog log;
  CLumiqDeviceAccess access;
};

TEST_F(OpenDeviceTest, StartsWithoutAGraph) { EXPECT_EQ(nullptr, access.m_pDigitalGraph); }

TEST_F(OpenDeviceTest, BoardPresentKeepsABuiltGraph) {
  world.InstallBoard();
  access.OpenDevice();
  ASSERT_NE(nullptr, access.m_pDigitalGraph);
  EXPECT_EQ(static_cast<IKsPropertySet*>(world.propertySet), access.m_pDigitalGraph->PropertySet());
  EXPECT_EQ(std::string(kBoardFoundLine) + kTunerFoundLines, log.Text());
  EXPECT_THAT(world.Com().HeldReferences(),
              ElementsAre("graph+1", "builder+1", "propset+1", "tunerFilter1+1"));
}

TEST_F(OpenDeviceTest, CloseDeviceDeletesTheGraphAndItsReferences) {
  world.InstallBoard();
  access.OpenDevice();
  access.CloseDevice();
  EXPECT_EQ(nullptr, access.m_pDigitalGraph);
  EXPECT_THAT(world.Com().HeldReferences(), IsEmpty());
  EXPECT_EQ(0, world.Com().OverReleases());
}

TEST_F(OpenDeviceTest, CloseDeviceWithoutAGraphDoesNothing) {
  access.CloseDevice();
  EXPECT_EQ(nullptr, access.m_pDigitalGraph);
  EXPECT_THAT(world.Log().Calls(), IsEmpty());
}

TEST_F(OpenDeviceTest, NoReceiverRegisteredCreatesNoGraph) {
  world.AddTuner(TUNER_FRIENDLY_NAME);
  access.OpenDevice();
  EXPECT_EQ(nullptr, access.m_pDigitalGraph);
  EXPECT_EQ("CGraph::FindCaptureDevice() pDeviceEnum->CreateClassEnumerator() ERROR!!\n",
            log.Text());
  EXPECT_THAT(world.Log().CallsStartingWith("CoCreateInstance(FilterGraph"), IsEmpty());
}

TEST_F(OpenDeviceTest, NoMatchingReceiverCreatesNoGraphAndWritesNothing) {
  world.AddReceiver(TRAVUNE_WIDE("PCI#VEN_14F1&DEV_8852&SUBSYS_00000000"), kBoardFriendlyName);
  world.AddTuner(TUNER_FRIENDLY_NAME);
  access.OpenDevice();
  EXPECT_EQ(nullptr, access.m_pDigitalGraph);
  EXPECT_EQ("", log.Text());
  EXPECT_THAT(world.Com().HeldReferences(), IsEmpty());
}

TEST_F(OpenDeviceTest, GraphThatFailsToBuildIsDeletedAtOnce) {
  world.AddReceiver(kBoardDevicePath, kBoardFriendlyName);
  world.AddTuner(TRAVUNE_WIDE("Travune Digital Tuner 2 (DVB-T)"));
  access.OpenDevice();
  EXPECT_EQ(nullptr, access.m_pDigitalGraph);
  EXPECT_EQ(std::string(kBoardFoundLine) +
                "CGraph::FindFilter( 3 ) ERROR!!\n"
                "Davad Irudazevi Failed"
                "CGraph::AddFilter( 2 ) ERROR!!\n",
            log.Text());
  EXPECT_THAT(world.Com().HeldReferences(), IsEmpty());
  EXPECT_EQ(0, world.Com().OverReleases());
}

TEST_F(OpenDeviceTest, HeldGraphIsDeletedBeforeTheCheckEvenWhenTheCheckFails) {
  access.m_pDigitalGraph = new GraphProbe(world.Log());
  access.OpenDevice();
  EXPECT_EQ(nullptr, access.m_pDigitalGraph);
  EXPECT_THAT(world.Log().Calls(),
              ElementsAre("probe.Deleted", "CoCreateInstance(SystemDeviceEnum, 3)",
                          "devenum.CreateClassEnumerator", "devenum.Release"));
}

TEST_F(OpenDeviceTest, ReopeningReleasesTheOldGraphOnceAndKeepsANewOne) {
  world.InstallBoard();
  access.OpenDevice();
  const CGraph* first = access.m_pDigitalGraph;
  ASSERT_NE(nullptr, first);
  const size_t before = world.Log().Calls().size();
  access.OpenDevice();
  ASSERT_NE(nullptr, access.m_pDigitalGraph);
  const std::vector<std::string>& calls = world.Log().Calls();
  EXPECT_EQ(
      std::vector<std::string>({"propset.Release", "graph.Release", "builder.Release",
                                "tunerFilter1.Release", "CoCreateInstance(SystemDeviceEnum, 3)"}),
      std::vector<std::string>(calls.begin() + before, calls.begin() + before + 5));
  EXPECT_THAT(world.Com().HeldReferences(),
              ElementsAre("graph+1", "builder+1", "propset+1", "tunerFilter1+1"));
  EXPECT_EQ(0, world.Com().OverReleases());
}

TEST_F(OpenDeviceTest, DestructionDeletesAGraphStillHeld) {
  world.InstallBoard();
  {
    CLumiqDeviceAccess other;
    other.OpenDevice();
    ASSERT_NE(nullptr, other.m_pDigitalGraph);
  }
  EXPECT_THAT(world.Com().HeldReferences(), IsEmpty());
}

}  // namespace
