#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "board_world.h"
#include "fake_debug_log.h"
#include "lumiq_device_access.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

const char kPattern[] = "PCI#VEN_14F1&DEV_8852&SUBSYS_2A6C5E1D";

class FindCaptureDeviceTest : public ::testing::Test {
 protected:
  int Find() { return access.FindCaptureDevice(KSCATEGORY_BDA_RECEIVER_COMPONENT, kPattern); }
  static std::string FoundLine(const WCHAR* friendlyName) {
    return "CGraph::FindCaptureDevice() str Device string = " + FakeNarrow(friendlyName);
  }
  void ExpectNothingHeld() {
    EXPECT_THAT(world.Com().HeldReferences(), IsEmpty());
    EXPECT_EQ(0, world.Com().OverReleases());
    EXPECT_EQ(0, world.Com().ReadsIntoUsedHolder());
  }

  BoardWorld world;
  CapturedDebugLog log;
  CLumiqDeviceAccess access;
};

TEST_F(FindCaptureDeviceTest, LowerCaseBoardPathMatchesAndItsNameIsLoggedWithoutLineEnd) {
  world.AddReceiver(kBoardDevicePath, kBoardFriendlyName);
  EXPECT_EQ(1, Find());
  EXPECT_EQ(FoundLine(kBoardFriendlyName), log.Text());
  EXPECT_EQ(nullptr, access.m_pDigitalGraph);
  ExpectNothingHeld();
}

TEST_F(FindCaptureDeviceTest, ReleasesBagDeviceEnumeratorMonikerEnumeratorThenMonikerOnSuccess) {
  world.AddReceiver(kBoardDevicePath, kBoardFriendlyName);
  ASSERT_EQ(1, Find());
  EXPECT_THAT(
      world.Log().Calls(),
      ElementsAre("CoCreateInstance(SystemDeviceEnum, 3)", "devenum.CreateClassEnumerator",
                  "receivers.Next", "receiver1.BindToStorage", "receiverBag1.Read(DevicePath)",
                  "receiverBag1.Read(FriendlyName)", "receiverBag1.Release", "devenum.Release",
                  "receivers.Release", "receiver1.Release"));
  EXPECT_THAT(world.devices->FlagsSeen(), ElementsAre(0u));
}

TEST_F(FindCaptureDeviceTest, PassingOverAMonikerReleasesItBeforeItsBag) {
  world.AddReceiver(TRAVUNE_WIDE("PCI#VEN_8086&DEV_1234"), kBoardFriendlyName);
  EXPECT_EQ(0, Find());
  EXPECT_EQ("", log.Text());
  EXPECT_THAT(
      world.Log().Calls(),
      ElementsAre("CoCreateInstance(SystemDeviceEnum, 3)", "devenum.CreateClassEnumerator",
                  "receivers.Next", "receiver1.BindToStorage", "receiverBag1.Read(DevicePath)",
                  "receiver1.Release", "receiverBag1.Release", "receivers.Next", "devenum.Release",
                  "receivers.Release"));
  ExpectNothingHeld();
}

TEST_F(FindCaptureDeviceTest, NoReceiverRegisteredLogsTheEnumeratorError) {
  EXPECT_EQ(0, Find());
  EXPECT_EQ("CGraph::FindCaptureDevice() pDeviceEnum->CreateClassEnumerator() ERROR!!\n",
            log.Text());
  EXPECT_THAT(world.Log().Calls(), ElementsAre("CoCreateInstance(SystemDeviceEnum, 3)",
                                               "devenum.CreateClassEnumerator", "devenum.Release"));
  ExpectNothingHeld();
}

TEST_F(FindCaptureDeviceTest, NoDeviceEnumeratorLogsTheCreationError) {
  world.AddReceiver(kBoardDevicePath, kBoardFriendlyName);
  world.Log().FailCall("CoCreateInstance(SystemDeviceEnum, 3)", REGDB_E_CLASSNOTREG);
  EXPECT_EQ(0, Find());
  EXPECT_EQ("CGraph::FindCaptureDevice() CoCreateInstance( CLSID_SystemDeviceEnum ) ERROR!!\n",
            log.Text());
  ExpectNothingHeld();
}

TEST_F(FindCaptureDeviceTest, AnotherSubsystemDoesNotMatch) {
  world.AddReceiver(TRAVUNE_WIDE("\\\\?\\pci#ven_14f1&dev_8852&subsys_88020070&rev_04#4&0"),
                    kBoardFriendlyName);
  EXPECT_EQ(0, Find());
  EXPECT_EQ("", log.Text());
  ExpectNothingHeld();
}

TEST_F(FindCaptureDeviceTest, UpperCasePathWithTextAroundMatches) {
  world.AddReceiver(TRAVUNE_WIDE("\\\\?\\PCI#VEN_14F1&DEV_8852&SUBSYS_2A6C5E1D&REV_04#X"),
                    TRAVUNE_WIDE("Receiver"));
  EXPECT_EQ(1, Find());
  EXPECT_EQ(FoundLine(TRAVUNE_WIDE("Receiver")), log.Text());
}

TEST_F(FindCaptureDeviceTest, PatternIsUsedUnchanged) {
  world.AddReceiver(kBoardDevicePath, kBoardFriendlyName);
  EXPECT_EQ(0, access.FindCaptureDevice(KSCATEGORY_BDA_RECEIVER_COMPONENT,
                                        "pci#ven_14f1&dev_8852&subsys_2a6c5e1d"));
  ExpectNothingHeld();
}

TEST_F(FindCaptureDeviceTest, MatchWithoutReadableNameIsPassedForALaterMatch) {
  world.AddReceiver(kBoardDevicePath, nullptr);
  world.AddReceiver(FakeProperty::Text(kBoardDevicePath), FakeProperty::Number(5));
  world.AddReceiver(FakeProperty::Text(kBoardDevicePath), FakeProperty::NullText());
  world.AddReceiver(kBoardDevicePath, TRAVUNE_WIDE("Fourth"));
  EXPECT_EQ(1, Find());
  EXPECT_EQ(FoundLine(TRAVUNE_WIDE("Fourth")), log.Text());
  ExpectNothingHeld();
}

TEST_F(FindCaptureDeviceTest, PathThatIsNotAStringIsAFailedRead) {
  world.AddReceiver(FakeProperty::Number(0x14F1), FakeProperty::Text(TRAVUNE_WIDE("Number")));
  world.AddReceiver(FakeProperty::NullText(), FakeProperty::Text(TRAVUNE_WIDE("Null")));
  world.AddReceiver(FakeProperty{}, FakeProperty::Text(TRAVUNE_WIDE("Missing")));
  EXPECT_EQ(0, Find());
  EXPECT_EQ("", log.Text());
  EXPECT_THAT(world.Log().CallsStartingWith("receiverBag1.Read"),
              ElementsAre("receiverBag1.Read(DevicePath)"));
  ExpectNothingHeld();
}

TEST_F(FindCaptureDeviceTest, FirstOfTwoMatchingDevicesDecides) {
  world.AddReceiver(kBoardDevicePath, TRAVUNE_WIDE("First board"));
  world.AddReceiver(kBoardDevicePath, TRAVUNE_WIDE("Second board"));
  EXPECT_EQ(1, Find());
  EXPECT_EQ(FoundLine(TRAVUNE_WIDE("First board")), log.Text());
  EXPECT_THAT(world.Log().CallsStartingWith("receiver2"), IsEmpty());
  ExpectNothingHeld();
}

TEST_F(FindCaptureDeviceTest, FirstMonikerFailingToBindIsPassedOver) {
  world.AddReceiver(kBoardDevicePath, TRAVUNE_WIDE("First board"));
  world.AddReceiver(kBoardDevicePath, TRAVUNE_WIDE("Second board"));
  world.Log().FailCall("receiver1.BindToStorage", E_FAIL);
  EXPECT_EQ(1, Find());
  EXPECT_EQ(FoundLine(TRAVUNE_WIDE("Second board")), log.Text());
  ExpectNothingHeld();
}

TEST_F(FindCaptureDeviceTest, LongNameIsLoggedWhole) {
  const FakeWideString longName = WideOfLength(TRAVUNE_WIDE("Board "), 600, 'z');
  world.AddReceiver(kBoardDevicePath, longName.c_str());
  EXPECT_EQ(1, Find());
  EXPECT_EQ(FoundLine(longName.c_str()), log.Text());
}

}  // namespace
