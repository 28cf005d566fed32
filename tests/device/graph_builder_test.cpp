#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "board_world.h"
#include "fake_debug_log.h"
#include "transparent_graph.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class GraphBuilderTest : public ::testing::Test {
 protected:
  BoardWorld world;
  CapturedDebugLog log;
};

TEST_F(GraphBuilderTest, CreatesBothInProcessAndAttachesTheBuilderToTheGraph) {
  TransparentGraph graph;
  EXPECT_EQ(1, graph.CreateGraphBuilder());
  EXPECT_EQ("", log.Text());
  EXPECT_THAT(world.Log().Calls(),
              ElementsAre("CoCreateInstance(FilterGraph, 3)",
                          "CoCreateInstance(CaptureGraphBuilder2, 3)", "builder.SetFiltergraph"));
  EXPECT_EQ(static_cast<IGraphBuilder*>(world.graph), world.builder->AttachedGraph());
  EXPECT_EQ(static_cast<IGraphBuilder*>(world.graph), graph.FilterGraph());
  EXPECT_EQ(static_cast<ICaptureGraphBuilder2*>(world.builder), graph.Builder());
  EXPECT_THAT(world.Com().HeldReferences(), ElementsAre("graph+1", "builder+1"));
}

TEST_F(GraphBuilderTest, RefusesWhenBothAreAlreadyHeld) {
  TransparentGraph graph;
  ASSERT_EQ(1, graph.CreateGraphBuilder());
  const size_t callsBefore = world.Log().Calls().size();
  EXPECT_EQ(0, graph.CreateGraphBuilder());
  EXPECT_EQ("CGraph::CreateGraphBuilder( 1 ) ERROR!!\n", log.Text());
  EXPECT_EQ(callsBefore, world.Log().Calls().size());
  EXPECT_THAT(world.Com().HeldReferences(), ElementsAre("graph+1", "builder+1"));
}

TEST_F(GraphBuilderTest, FilterGraphNotCreatedLeavesNothingHeld) {
  world.Log().FailCall("CoCreateInstance(FilterGraph, 3)", REGDB_E_CLASSNOTREG);
  TransparentGraph graph;
  EXPECT_EQ(0, graph.CreateGraphBuilder());
  EXPECT_EQ("CGraph::CreateGraphBuilder( 2 ) ERROR!!\n", log.Text());
  EXPECT_EQ(nullptr, graph.FilterGraph());
  EXPECT_THAT(world.Com().HeldReferences(), IsEmpty());
}

TEST_F(GraphBuilderTest, BuilderNotCreatedKeepsTheFilterGraph) {
  world.Log().FailCall("CoCreateInstance(CaptureGraphBuilder2, 3)", S_FALSE);
  TransparentGraph graph;
  EXPECT_EQ(0, graph.CreateGraphBuilder());
  EXPECT_EQ("CGraph::CreateGraphBuilder( 3 ) ERROR!!\n", log.Text());
  EXPECT_EQ(nullptr, graph.Builder());
  EXPECT_THAT(world.Com().HeldReferences(), ElementsAre("graph+1"));
}

TEST_F(GraphBuilderTest, AttachingRefusedKeepsBoth) {
  world.Log().FailCall("builder.SetFiltergraph", E_FAIL);
  TransparentGraph graph;
  EXPECT_EQ(0, graph.CreateGraphBuilder());
  EXPECT_EQ("CGraph::CreateGraphBuilder( 4 ) ERROR!!\n", log.Text());
  EXPECT_THAT(world.Com().HeldReferences(), ElementsAre("graph+1", "builder+1"));
}

TEST_F(GraphBuilderTest, AddFilterWithoutFilterGraphIsRefusedWithoutAsking) {
  TransparentGraph graph;
  FakeFilter* filter = world.Com().Make<FakeFilter>("filter");
  EXPECT_EQ(0, graph.AddFilter(filter, TRAVUNE_WIDE("Tuner")));
  EXPECT_EQ(std::string("CGraph::AddFilter( 1 \xA1\xD1 NULL ) ERROR!!\n"), log.Text());
  EXPECT_THAT(world.Log().Calls(), IsEmpty());
}

TEST_F(GraphBuilderTest, AddFilterRefusedByTheFilterGraph) {
  TransparentGraph graph;
  ASSERT_EQ(1, graph.CreateGraphBuilder());
  EXPECT_EQ(0, graph.AddFilter(nullptr, TRAVUNE_WIDE("Tuner")));
  EXPECT_EQ("CGraph::AddFilter( 2 ) ERROR!!\n", log.Text());
}

TEST_F(GraphBuilderTest, AddFilterLogsTheNameItAddedUnder) {
  TransparentGraph graph;
  ASSERT_EQ(1, graph.CreateGraphBuilder());
  FakeFilter* filter = world.Com().Make<FakeFilter>("filter");
  EXPECT_EQ(1, graph.AddFilter(filter, TRAVUNE_WIDE("Travune Digital Tuner 1 (DVB-T)")));
  EXPECT_EQ("CGraph::AddFilter( \"Travune Digital Tuner 1 (DVB-T)\" )\n", log.Text());
  EXPECT_THAT(world.graph->FiltersAdded(), ElementsAre(static_cast<IBaseFilter*>(filter)));
  EXPECT_EQ(FakeWideString(TRAVUNE_WIDE("Travune Digital Tuner 1 (DVB-T)")),
            world.graph->NamesOffered().at(0));
}

TEST_F(GraphBuilderTest, AddFilterLineIsCutTo255Characters) {
  TransparentGraph graph;
  ASSERT_EQ(1, graph.CreateGraphBuilder());
  FakeFilter* filter = world.Com().Make<FakeFilter>("filter");
  const FakeWideString name = WideOfLength(TRAVUNE_WIDE("N"), 300, 'n');
  EXPECT_EQ(1, graph.AddFilter(filter, name.c_str()));
  const std::string expected = "CGraph::AddFilter( \"" + FakeNarrow(name.c_str());
  EXPECT_EQ(expected.substr(0, 255), log.Text());
}

TEST_F(GraphBuilderTest, InterfaceRequestWithoutBuilderIsRefused) {
  TransparentGraph graph;
  void* object = nullptr;
  EXPECT_EQ(0, graph.GetInterfaceFromGraphBuilder2(nullptr, IID_IKsPropertySet, &object));
  EXPECT_EQ("CGraph::GetInterfaceFromGraphBuilder2( 1 ) ERROR!!\n", log.Text());
  EXPECT_THAT(world.Log().Calls(), IsEmpty());
}

TEST_F(GraphBuilderTest, InterfaceRequestAsksForTheCapturePinCategoryAndLogsNothing) {
  world.InstallBoard();
  TransparentGraph graph;
  ASSERT_EQ(1, graph.CreateGraphBuilder());
  void* object = nullptr;
  EXPECT_EQ(1,
            graph.GetInterfaceFromGraphBuilder2(world.TunerFilter(0), IID_IKsPropertySet, &object));
  EXPECT_EQ(static_cast<IKsPropertySet*>(world.propertySet), object);
  static_cast<IUnknown*>(object)->Release();
  EXPECT_EQ(0, graph.GetInterfaceFromGraphBuilder2(world.TunerFilter(0), IID_IBaseFilter, &object));
  EXPECT_EQ(nullptr, object);
  EXPECT_EQ("", log.Text());
}

}  // namespace
