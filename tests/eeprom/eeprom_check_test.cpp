#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "eeprom_image.h"
#include "eeprom_procedures.h"
#include "fake_eeprom_driver.h"
#include "procedure_sinks.h"

namespace {

class EepromCheckTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::copy(g_EepromImage, g_EepromImage + EEPROM_SIZE, board.eeprom.begin());
  }

  CheckOutcome Check() { return RunEepromCheck(&board, progress, line); }

  FakeEepromDriver board;
  RecordingProgress progress;
  RecordingResultLine line;
};

TEST_F(EepromCheckTest, BoardEqualToTheImageIsNew) {
  EXPECT_EQ(CheckOutcome::New, Check());
  EXPECT_EQ(ShownWith("EEPROM Is New !!"), line.events);
  EXPECT_EQ(1u, board.references);
}

TEST_F(EepromCheckTest, ProgressRunsThroughEveryOffsetThenReturnsToZero) {
  Check();
  std::vector<int> expected;
  for (int offset = 0; offset < 256; ++offset) expected.push_back(offset);
  expected.push_back(0);
  EXPECT_EQ(expected, progress.positions);
}

class EepromCheckOneByteOffTest : public EepromCheckTest,
                                  public ::testing::WithParamInterface<int> {};

TEST_P(EepromCheckOneByteOffTest, AnySingleDifferingByteMakesItOldAndAllOffsetsAreStillRead) {
  board.eeprom[GetParam()] ^= 0x01;
  // A refused read elsewhere does not hide the difference.
  board.refusedReads = {static_cast<BYTE>((GetParam() + 7) % 256)};
  EXPECT_EQ(CheckOutcome::Old, Check());
  EXPECT_EQ(ShownWith("EEprom Is Old !! Pls Update !"), line.events);
  EXPECT_EQ(257u, progress.positions.size());
}

INSTANTIATE_TEST_SUITE_P(Offsets, EepromCheckOneByteOffTest,
                         ::testing::Values(0, 0x0C, 0x27, 0x28, 255));

TEST_F(EepromCheckTest, UnreadBytesWithoutADifferenceReportAFailedRead) {
  board.refusedReads = {200};
  EXPECT_EQ(CheckOutcome::ReadFailed, Check());
  EXPECT_EQ(ShownWith("EEPROM Read Failed !!"), line.events);
  EXPECT_EQ(257u, progress.positions.size());
  EXPECT_EQ(0, progress.positions.back());
}

TEST_F(EepromCheckTest, BoardRefusingEveryReadIsNeverCalledNew) {
  for (int offset = 0; offset < 256; ++offset) board.refusedReads.insert(static_cast<BYTE>(offset));
  EXPECT_EQ(CheckOutcome::ReadFailed, Check());
  EXPECT_EQ(ShownWith("EEPROM Read Failed !!"), line.events);
}

TEST_F(EepromCheckTest, RunningTwiceGivesTheSameTextTwice) {
  board.eeprom[9] = 0x42;
  Check();
  Check();
  const std::string old = "text:EEprom Is Old !! Pls Update !";
  EXPECT_EQ((std::vector<std::string>{"show", old, "show", old}), line.events);
}

TEST_F(EepromCheckTest, WithoutADeviceGraphNothingIsReadShownOrMoved) {
  EXPECT_EQ(CheckOutcome::NoBoard, RunEepromCheck(nullptr, progress, line));
  EXPECT_TRUE(line.events.empty());
  EXPECT_TRUE(progress.positions.empty());
}

}  // namespace
