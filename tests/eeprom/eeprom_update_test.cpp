#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "eeprom_image.h"
#include "eeprom_procedures.h"
#include "fake_eeprom_driver.h"
#include "procedure_sinks.h"

namespace {

using ::testing::AnyNumber;
using ::testing::Invoke;
using ::testing::NiceMock;

std::vector<BYTE> Offsets(std::initializer_list<std::pair<int, int>> runs) {
  std::vector<BYTE> offsets;
  for (const auto& run : runs) {
    for (int i = 0; i < run.second; ++i) offsets.push_back(static_cast<BYTE>(run.first));
  }
  return offsets;
}

std::vector<BYTE> AllBlocks() {
  std::vector<BYTE> offsets;
  for (int offset = 0; offset < 256; offset += 4) offsets.push_back(static_cast<BYTE>(offset));
  return offsets;
}

class EepromUpdateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::fill(board.eeprom.begin(), board.eeprom.end(), 0x00);
    // Interleave pauses with progress, so their order can be checked too.
    ON_CALL(pause, Pause).WillByDefault(Invoke([this](DWORD ms) {
      progress.positions.push_back(-static_cast<int>(ms));
    }));
  }

  UpdateOutcome Update() { return RunEepromUpdate(&board, progress, line, pause); }

  FakeEepromDriver board;
  RecordingProgress progress;
  RecordingResultLine line;
  NiceMock<MockPause> pause;
};

TEST_F(EepromUpdateTest, WritesTheWholeImageIn64AscendingBlocks) {
  EXPECT_CALL(pause, Pause(10)).Times(64);
  EXPECT_EQ(UpdateOutcome::Success, Update());
  EXPECT_EQ(AllBlocks(), board.writeAttempts);
  EXPECT_TRUE(std::equal(board.eeprom.begin(), board.eeprom.end(), g_EepromImage));
  EXPECT_EQ(ShownWith("Update Success !!"), line.events);
  EXPECT_EQ(1u, board.references);
}

TEST_F(EepromUpdateTest, PausesAfterEveryBlockThenMovesTheBarToTheNextOffset) {
  Update();
  std::vector<int> expected;
  for (int offset = 4; offset <= 256; offset += 4) {
    expected.push_back(-10);
    expected.push_back(offset);
  }
  expected.push_back(0);
  EXPECT_EQ(expected, progress.positions);
}

TEST_F(EepromUpdateTest, RefusedBlockIsRetriedBeforeAnyLaterBlock) {
  board.refusalsLeft[8] = 1;
  EXPECT_CALL(pause, Pause(10)).Times(65);
  EXPECT_EQ(UpdateOutcome::Success, Update());
  std::vector<BYTE> expected = Offsets({{0, 1}, {4, 1}, {8, 2}});
  for (int offset = 12; offset < 256; offset += 4) expected.push_back(static_cast<BYTE>(offset));
  EXPECT_EQ(expected, board.writeAttempts);
  // The bar stays at 8 after the refusal: 4, 8, (refused) 8, 12, ...
  const std::vector<int> start = {-10, 4, -10, 8, -10, 8, -10, 12};
  EXPECT_TRUE(std::equal(start.begin(), start.end(), progress.positions.begin()));
}

TEST_F(EepromUpdateTest, FailedSupportQueryCountsAsARefusalAndSendsNoBlock) {
  struct NoWriteSupport : FakeEepromDriver {
    int queriesLeftToFail = 2;
    HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID set, DWORD id, DWORD* support) override {
      if (id == EEPROM_PROPERTY_WRITE && queriesLeftToFail > 0) {
        --queriesLeftToFail;
        return E_FAIL;
      }
      return FakeEepromDriver::QuerySupported(set, id, support);
    }
  } flaky;
  EXPECT_CALL(pause, Pause(10)).Times(66);
  EXPECT_EQ(UpdateOutcome::Success, RunEepromUpdate(&flaky, progress, line, pause));
  EXPECT_EQ(AllBlocks(), flaky.writeAttempts);
}

TEST_F(EepromUpdateTest, GivesUpAfter100RefusalsInARowKeepingWhatWasWritten) {
  board.refusalsLeft[8] = -1;
  EXPECT_CALL(pause, Pause(10)).Times(102);
  EXPECT_EQ(UpdateOutcome::Failed, Update());
  EXPECT_EQ(Offsets({{0, 1}, {4, 1}, {8, 100}}), board.writeAttempts);
  EXPECT_EQ(ShownWith("Update Failed !!"), line.events);
  EXPECT_EQ(0, progress.positions.back());
  EXPECT_TRUE(std::equal(board.eeprom.begin(), board.eeprom.begin() + 8, g_EepromImage));
  EXPECT_EQ(0x00, board.eeprom[8]);
}

TEST_F(EepromUpdateTest, NinetyNineRefusalsThenAcceptanceStillSucceeds) {
  board.refusalsLeft[252] = 99;
  EXPECT_EQ(UpdateOutcome::Success, Update());
  EXPECT_EQ(63u + 100u, board.writeAttempts.size());
}

TEST_F(EepromUpdateTest, ALaterUpdateStartsAgainAtOffsetZero) {
  board.refusalsLeft[8] = 100;
  EXPECT_EQ(UpdateOutcome::Failed, Update());
  board.writeAttempts.clear();
  EXPECT_EQ(UpdateOutcome::Success, Update());
  EXPECT_EQ(AllBlocks(), board.writeAttempts);
}

TEST_F(EepromUpdateTest, CheckAfterAnUpdateReportsNew) {
  Update();
  RecordingResultLine checkLine;
  EXPECT_EQ(CheckOutcome::New, RunEepromCheck(&board, progress, checkLine));
}

TEST_F(EepromUpdateTest, WithoutADeviceGraphNothingHappens) {
  EXPECT_CALL(pause, Pause).Times(0);
  EXPECT_EQ(UpdateOutcome::NoBoard, RunEepromUpdate(nullptr, progress, line, pause));
  EXPECT_TRUE(line.events.empty());
  EXPECT_TRUE(progress.positions.empty());
}

}  // namespace
