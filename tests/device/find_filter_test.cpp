#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "board_world.h"
#include "fake_debug_log.h"
#include "transparent_graph.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const WCHAR kSentinel = 0x7777;

class FindFilterTest : public ::testing::Test {
 protected:
  FindFilterTest() { std::fill(std::begin(name), std::end(name), kSentinel); }
  ~FindFilterTest() override {
    if (filter != nullptr) filter->Release();
  }

  int Find(int skipCount = 0, int capacityBytes = 256) {
    return graph.FindFilter(KSCATEGORY_BDA_NETWORK_TUNER, TUNER_FRIENDLY_NAME, skipCount, &filter,
                            name, capacityBytes);
  }
  std::string FoundLine(const WCHAR* friendlyName) {
    return "CGraph::FindFilter( \"" + FakeNarrow(friendlyName) + "\" )\n";
  }
  void ExpectNothingOfTheWalkHeld() {
    std::vector<std::string> held = world.Com().HeldReferences();
    if (filter != nullptr) {
      ASSERT_FALSE(held.empty());
      held.erase(std::remove_if(held.begin(), held.end(),
                                [](const std::string& entry) {
                                  return entry.rfind("tunerFilter", 0) == 0 &&
                                         entry.substr(entry.size() - 2) == "+1";
                                }),
                 held.end());
    }
    EXPECT_THAT(held, IsEmpty());
    EXPECT_EQ(0, world.Com().OverReleases());
  }

  BoardWorld world;
  CapturedDebugLog log;
  TransparentGraph graph;
  IBaseFilter* filter = nullptr;
  WCHAR name[256];
};

TEST_F(FindFilterTest, BindsTheTunerAndCopiesItsName) {
  world.AddTuner(TUNER_FRIENDLY_NAME);
  EXPECT_EQ(1, Find());
  EXPECT_EQ(static_cast<IBaseFilter*>(world.TunerFilter(0)), filter);
  EXPECT_EQ(FakeWideString(TUNER_FRIENDLY_NAME), FakeWideString(name));
  EXPECT_EQ(FoundLine(TUNER_FRIENDLY_NAME), log.Text());
  ExpectNothingOfTheWalkHeld();
}

TEST_F(FindFilterTest, CreatesTheEnumeratorInProcessServerOnlyAndTouchesNoGraphField) {
  world.AddTuner(TUNER_FRIENDLY_NAME);
  ASSERT_EQ(1, Find());
  EXPECT_EQ("CoCreateInstance(SystemDeviceEnum, 1)", world.Log().Calls().at(0));
  EXPECT_THAT(world.devices->FlagsSeen(), ElementsAre(0u));
  EXPECT_EQ(nullptr, graph.FilterGraph());
  EXPECT_EQ(nullptr, graph.Builder());
  EXPECT_EQ(nullptr, graph.TunerFilter());
  EXPECT_EQ(nullptr, graph.HeldPropertySet());
}

TEST_F(FindFilterTest, SuccessLogsThenReleasesBagMonikerEnumeratorAndDeviceEnumerator) {
  world.AddTuner(TUNER_FRIENDLY_NAME);
  ASSERT_EQ(1, Find());
  EXPECT_THAT(world.Log().Calls(),
              ElementsAre("CoCreateInstance(SystemDeviceEnum, 1)", "devenum.CreateClassEnumerator",
                          "tuners.Next", "tuner1.BindToStorage", "tunerBag1.Read(FriendlyName)",
                          "tuner1.BindToObject", "tunerBag1.Release", "tuner1.Release",
                          "tuners.Release", "devenum.Release"));
}

TEST_F(FindFilterTest, WalkEndingWithoutMatchReleasesEachMonikerBeforeTheNextAndLogsMessage3) {
  world.AddTuner(TRAVUNE_WIDE("Travune Digital Tuner 2 (DVB-T)"));
  EXPECT_EQ(0, Find());
  EXPECT_EQ("CGraph::FindFilter( 3 ) ERROR!!\n", log.Text());
  EXPECT_THAT(world.Log().Calls(),
              ElementsAre("CoCreateInstance(SystemDeviceEnum, 1)", "devenum.CreateClassEnumerator",
                          "tuners.Next", "tuner1.BindToStorage", "tunerBag1.Read(FriendlyName)",
                          "tunerBag1.Release", "tuner1.Release", "tuners.Next", "tuners.Release",
                          "devenum.Release"));
  EXPECT_EQ(kSentinel, name[0]);
  EXPECT_EQ(nullptr, filter);
  ExpectNothingOfTheWalkHeld();
}

TEST_F(FindFilterTest, EmptyCategoryLogsMessage2) {
  EXPECT_EQ(0, Find());
  EXPECT_EQ(std::string("CGraph::FindFilter( 2 \xA1\xD1 CreateClassEnumerator() ) ERROR!!\n"),
            log.Text());
  EXPECT_THAT(world.Log().CallsStartingWith("devenum.Release"), ElementsAre("devenum.Release"));
  ExpectNothingOfTheWalkHeld();
}

TEST_F(FindFilterTest, NoDeviceEnumeratorLogsMessage1) {
  world.Log().FailCall("CoCreateInstance(SystemDeviceEnum, 1)", E_OUTOFMEMORY);
  EXPECT_EQ(0, Find());
  EXPECT_EQ(std::string(
                "CGraph::FindFilter( 1 \xA1\xD1 CoCreateInstance(IID_ICreateDevEnum) ) ERROR!!\n"),
            log.Text());
  EXPECT_EQ(kSentinel, name[0]);
}

TEST_F(FindFilterTest, NameMatchingIsCaseSensitiveAndAcceptsTextAround) {
  world.AddTuner(TRAVUNE_WIDE("Travune Digital Tuner 2 (DVB-T)"));
  world.AddTuner(TRAVUNE_WIDE("travune digital tuner 1 (dvb-t)"));
  world.AddTuner(TRAVUNE_WIDE("TRAVUNE DIGITAL TUNER 1 (DVB-T)"));
  world.AddTuner(TRAVUNE_WIDE("Travune Digital Tuner 1 (DVB-"));
  const WCHAR surrounded[] = TRAVUNE_WIDE("PCIe Travune Digital Tuner 1 (DVB-T) #2");
  world.AddTuner(surrounded);
  EXPECT_EQ(1, Find());
  EXPECT_EQ(static_cast<IBaseFilter*>(world.TunerFilter(4)), filter);
  EXPECT_EQ(FakeWideString(surrounded), FakeWideString(name));
  EXPECT_EQ(FoundLine(surrounded), log.Text());
  ExpectNothingOfTheWalkHeld();
}

TEST_F(FindFilterTest, SkipCountPassesOverMatchingFiltersOnly) {
  world.AddTuner(TUNER_FRIENDLY_NAME);
  world.AddTuner(TRAVUNE_WIDE("Other tuner"));
  world.AddTuner(TRAVUNE_WIDE("Second Travune Digital Tuner 1 (DVB-T)"));
  EXPECT_EQ(1, Find(1));
  EXPECT_EQ(static_cast<IBaseFilter*>(world.TunerFilter(2)), filter);
  EXPECT_THAT(world.Log().CallsStartingWith("tuner1.Bind"), ElementsAre("tuner1.BindToStorage"));
  ExpectNothingOfTheWalkHeld();
}

TEST_F(FindFilterTest, SkipCountBeyondTheMatchesFindsNothing) {
  world.AddTuner(TUNER_FRIENDLY_NAME);
  world.AddTuner(TUNER_FRIENDLY_NAME);
  EXPECT_EQ(0, Find(2));
  EXPECT_EQ("CGraph::FindFilter( 3 ) ERROR!!\n", log.Text());
  ExpectNothingOfTheWalkHeld();
}

TEST_F(FindFilterTest, FirstMatchFailingToBindIsPassedForTheNextMatch) {
  world.AddTuner(TUNER_FRIENDLY_NAME, false);
  world.AddTuner(TRAVUNE_WIDE("Travune Digital Tuner 1 (DVB-T) B"));
  EXPECT_EQ(1, Find());
  EXPECT_EQ(static_cast<IBaseFilter*>(world.TunerFilter(1)), filter);
  EXPECT_EQ(FoundLine(TRAVUNE_WIDE("Travune Digital Tuner 1 (DVB-T) B")), log.Text());
  ExpectNothingOfTheWalkHeld();
}

TEST_F(FindFilterTest, MonikerWithoutPropertyBagIsPassedOver) {
  world.AddTuner(TUNER_FRIENDLY_NAME);
  world.AddTuner(TUNER_FRIENDLY_NAME);
  world.Log().FailCall("tuner1.BindToStorage", E_FAIL);
  EXPECT_EQ(1, Find());
  EXPECT_EQ(static_cast<IBaseFilter*>(world.TunerFilter(1)), filter);
  ExpectNothingOfTheWalkHeld();
}

TEST_F(FindFilterTest, NameThatIsNotAStringIsAFailedRead) {
  world.AddTuner(FakeProperty::Number(1));
  world.AddTuner(FakeProperty::NullText());
  world.AddTuner(TUNER_FRIENDLY_NAME);
  EXPECT_EQ(1, Find());
  EXPECT_EQ(static_cast<IBaseFilter*>(world.TunerFilter(2)), filter);
  EXPECT_THAT(world.Log().CallsStartingWith("tuner1.BindToObject"), IsEmpty());
  EXPECT_THAT(world.Log().CallsStartingWith("tuner2.BindToObject"), IsEmpty());
  EXPECT_EQ(0, world.Com().ReadsIntoUsedHolder());
  ExpectNothingOfTheWalkHeld();
}

TEST_F(FindFilterTest, OnlyNonStringNamesFindNothing) {
  world.AddTuner(FakeProperty::Number(7));
  world.AddTuner(FakeProperty::NullText());
  EXPECT_EQ(0, Find());
  EXPECT_EQ("CGraph::FindFilter( 3 ) ERROR!!\n", log.Text());
  ExpectNothingOfTheWalkHeld();
}

TEST_F(FindFilterTest, LongNameIsCutTo127CharactersButLoggedWhole) {
  const FakeWideString longName = WideOfLength(TUNER_FRIENDLY_NAME, 200, 'x');
  world.AddTuner(longName.c_str());
  EXPECT_EQ(1, Find());
  EXPECT_EQ(longName.substr(0, 127), FakeWideString(name));
  EXPECT_EQ(0, name[127]);
  EXPECT_EQ(kSentinel, name[128]);
  EXPECT_EQ(FoundLine(longName.c_str()), log.Text());
}

TEST_F(FindFilterTest, NameTooLongForTheLogLineIsLoggedAsFarAs255Characters) {
  const FakeWideString longName = WideOfLength(TUNER_FRIENDLY_NAME, 300, 'y');
  world.AddTuner(longName.c_str());
  EXPECT_EQ(1, Find());
  EXPECT_EQ(FoundLine(longName.c_str()).substr(0, 255), log.Text());
}

TEST_F(FindFilterTest, CapacityBelowOneCharacterLeavesTheBufferUntouched) {
  world.AddTuner(TUNER_FRIENDLY_NAME);
  world.AddTuner(TUNER_FRIENDLY_NAME);
  EXPECT_EQ(1, Find(0, 0));
  EXPECT_EQ(kSentinel, name[0]);
  filter->Release();
  filter = nullptr;
  EXPECT_EQ(1, Find(1, 1));
  EXPECT_EQ(kSentinel, name[0]);
}

TEST_F(FindFilterTest, CapacityOfOneCharacterHoldsOnlyTheTerminator) {
  world.AddTuner(TUNER_FRIENDLY_NAME);
  EXPECT_EQ(1, Find(0, 3));
  EXPECT_EQ(0, name[0]);
  EXPECT_EQ(kSentinel, name[1]);
}

TEST_F(FindFilterTest, NameThatFitsIsCopiedWithItsTerminator) {
  world.AddTuner(TRAVUNE_WIDE("Travune Digital Tuner 1 (DVB-T)"));
  EXPECT_EQ(1, Find(0, 64));
  EXPECT_EQ(FakeWideString(TUNER_FRIENDLY_NAME), FakeWideString(name));
  EXPECT_EQ(kSentinel, name[32]);
}

}  // namespace
