#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>

#include "board_world.h"
#include "fake_debug_log.h"
#include "transparent_graph.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const char kTunerFoundLines[] =
    "CGraph::FindFilter( \"Travune Digital Tuner 1 (DVB-T)\" )\n"
    "CGraph::AddFilter( \"Travune Digital Tuner 1 (DVB-T)\" )\n";

class CreateGraphTest : public ::testing::Test {
 protected:
  std::vector<std::string> ReleasesSince(size_t first) {
    std::vector<std::string> releases;
    const auto& calls = world.Log().Calls();
    for (size_t i = first; i < calls.size(); ++i) {
      if (calls[i].find(".Release") != std::string::npos) releases.push_back(calls[i]);
    }
    return releases;
  }

  BoardWorld world;
  CapturedDebugLog log;
};

TEST_F(CreateGraphTest, BuildsAndHoldsOneReferenceToEachOfTheFour) {
  world.InstallBoard();
  TransparentGraph graph;
  EXPECT_EQ(1, graph.CreateGraph());
  EXPECT_EQ(kTunerFoundLines, log.Text());
  EXPECT_EQ(static_cast<IKsPropertySet*>(world.propertySet), graph.PropertySet());
  EXPECT_THAT(world.Com().HeldReferences(),
              ElementsAre("graph+1", "builder+1", "propset+1", "tunerFilter1+1"));
  EXPECT_THAT(world.graph->FiltersAdded(), ElementsAre(graph.TunerFilter()));
  EXPECT_THAT(
      world.Log().CallsStartingWith("CoCreateInstance"),
      ElementsAre("CoCreateInstance(FilterGraph, 3)", "CoCreateInstance(CaptureGraphBuilder2, 3)",
                  "CoCreateInstance(SystemDeviceEnum, 1)"));
}

TEST_F(CreateGraphTest, ConstructionMakesNoPlatformCall) {
  world.InstallBoard();
  {
    TransparentGraph graph;
    EXPECT_EQ(nullptr, graph.PropertySet());
  }
  EXPECT_THAT(world.Log().Calls(), IsEmpty());
}

TEST_F(CreateGraphTest, NoMatchingTunerWritesThreeLinesAndKeepsGraphAndBuilder) {
  world.AddReceiver(kBoardDevicePath, kBoardFriendlyName);
  world.AddTuner(TRAVUNE_WIDE("Travune Digital Tuner 2 (DVB-T)"));
  TransparentGraph graph;
  EXPECT_EQ(0, graph.CreateGraph());
  EXPECT_EQ(
      "CGraph::FindFilter( 3 ) ERROR!!\n"
      "Davad Irudazevi Failed"
      "CGraph::AddFilter( 2 ) ERROR!!\n",
      log.Text());
  EXPECT_THAT(world.Com().HeldReferences(), ElementsAre("graph+1", "builder+1"));
}

TEST_F(CreateGraphTest, NoTunerRegisteredWritesMessage2InsteadOfMessage3) {
  TransparentGraph graph;
  EXPECT_EQ(0, graph.CreateGraph());
  EXPECT_EQ(std::string("CGraph::FindFilter( 2 \xA1\xD1 CreateClassEnumerator() ) ERROR!!\n"
                        "Davad Irudazevi Failed"
                        "CGraph::AddFilter( 2 ) ERROR!!\n"),
            log.Text());
}

TEST_F(CreateGraphTest, FailedSearchHandsTheFilterGraphAnEmptyName) {
  TransparentGraph graph;
  EXPECT_EQ(0, graph.CreateGraph());
  ASSERT_EQ(1u, world.graph->NamesOffered().size());
  EXPECT_EQ(FakeWideString(), world.graph->NamesOffered()[0]);
}

TEST_F(CreateGraphTest, LongTunerNameIsAddedUnderItsFirst127Characters) {
  const FakeWideString longName = WideOfLength(TUNER_FRIENDLY_NAME, 200, 'x');
  world.AddTuner(longName.c_str());
  TransparentGraph graph;
  EXPECT_EQ(1, graph.CreateGraph());
  EXPECT_EQ(longName.substr(0, 127), world.graph->NamesOffered().at(0));
  EXPECT_EQ("CGraph::FindFilter( \"" + FakeNarrow(longName.c_str()) + "\" )\n" +
                "CGraph::AddFilter( \"" + FakeNarrow(longName.substr(0, 127).c_str()) + "\" )\n",
            log.Text());
}

TEST_F(CreateGraphTest, NoPropertySetWritesLine14AndKeepsGraphBuilderAndFilter) {
  world.InstallBoard();
  world.builder->ExposePropertySet(nullptr, nullptr);
  TransparentGraph graph;
  EXPECT_EQ(0, graph.CreateGraph());
  EXPECT_EQ(std::string(kTunerFoundLines) + "CDigitalGraph::CreateGraph( 14 ) ERROR!!\n",
            log.Text());
  EXPECT_THAT(world.Com().HeldReferences(), ElementsAre("graph+1", "builder+1", "tunerFilter1+1"));
  EXPECT_EQ(nullptr, graph.PropertySet());
}

TEST_F(CreateGraphTest, RebuildingReleasesTheOldReferencesOnceBeforeCreatingAnything) {
  world.InstallBoard();
  TransparentGraph graph;
  ASSERT_EQ(1, graph.CreateGraph());
  const size_t firstBuildCalls = world.Log().Calls().size();
  EXPECT_EQ(1, graph.CreateGraph());
  const std::vector<std::string>& calls = world.Log().Calls();
  EXPECT_EQ(std::vector<std::string>({"propset.Release", "graph.Release", "builder.Release",
                                      "tunerFilter1.Release", "CoCreateInstance(FilterGraph, 3)"}),
            std::vector<std::string>(calls.begin() + firstBuildCalls,
                                     calls.begin() + firstBuildCalls + 5));
  EXPECT_THAT(world.Com().HeldReferences(),
              ElementsAre("graph+1", "builder+1", "propset+1", "tunerFilter1+1"));
  EXPECT_EQ(0, world.Com().OverReleases());
}

TEST_F(CreateGraphTest, DeletingABuiltGraphReleasesInReleaseAllOrder) {
  world.InstallBoard();
  std::unique_ptr<CGraph> graph(new TransparentGraph);
  ASSERT_EQ(1, graph->CreateGraph());
  const size_t before = world.Log().Calls().size();
  graph.reset();
  EXPECT_THAT(ReleasesSince(before), ElementsAre("propset.Release", "graph.Release",
                                                 "builder.Release", "tunerFilter1.Release"));
  EXPECT_THAT(world.Com().HeldReferences(), IsEmpty());
  EXPECT_EQ(0, world.Com().OverReleases());
}

TEST_F(CreateGraphTest, ReleaseAllOnAnEmptyGraphDoesNothing) {
  TransparentGraph graph;
  graph.ReleaseAll();
  graph.ReleaseAll();
  EXPECT_THAT(world.Log().Calls(), IsEmpty());
}

TEST_F(CreateGraphTest, DeletingAPartlyBuiltGraphReleasesWhatItHolds) {
  world.InstallBoard();
  world.builder->ExposePropertySet(nullptr, nullptr);
  std::unique_ptr<CGraph> graph(new TransparentGraph);
  ASSERT_EQ(0, graph->CreateGraph());
  const size_t before = world.Log().Calls().size();
  graph.reset();
  EXPECT_THAT(ReleasesSince(before),
              ElementsAre("graph.Release", "builder.Release", "tunerFilter1.Release"));
  EXPECT_THAT(world.Com().HeldReferences(), IsEmpty());
  EXPECT_EQ(0, world.Com().OverReleases());
}

}  // namespace
