// The check and the update against one recording driver: the check's whole
// event log compared, the update's by the parts written out below.
#include <gmock/gmock.h>

#include <algorithm>
#include <tuple>

#include "eeprom_image.h"
#include "fake_eeprom_driver.h"

namespace {

std::vector<HRESULT> Refused(int times) { return std::vector<HRESULT>(times, E_FAIL); }

// Reads 0..255, each behind its own query; noGetAt's query was refused.
std::string CheckLog(const char* text, int noGetAt) {
  std::string log;
  for (int offset = 0; offset < 256; ++offset) {
    const std::string at = std::to_string(offset);
    log += "Q2 " + (offset == noGetAt ? "" : "G" + at + " ") + "P" + at + " ";
  }
  return log + "show \"" + text + "\" P0 ";
}

using Answers = decltype(CFakeEepromDriver::answers);

TEST(EepromCheck, DoesNothingWithoutAGraphElseReadsEveryOffsetAndShowsTheOutcome) {
  // name, the offset where the board differs from the image (-1: none), answers, noGetAt, outcome
  const std::tuple<const char*, int, Answers, int, const char*> rows[] = {
      {"New", -1, {}, -1, "EEPROM Is New !!"},
      {"ReadSFalse", -1, {{"G9", {S_FALSE}}}, -1, "EEPROM Read Failed !!"},
      {"QueryFlagless", -1, {{"Q#32", {CFakeEepromDriver::FLAGLESS}}}, 32, "EEPROM Read Failed !!"},
      {"UnreadIsNotCompared", 0x28, {{"G40", {E_FAIL}}}, -1, "EEPROM Read Failed !!"},
      {"OldWinsOverEarlierUnread", 255, {{"G7", {E_FAIL}}}, -1, "EEprom Is Old !! Pls Update !"},
      {"OldWinsOverLaterUnread", 0, {{"Q#200", {E_FAIL}}}, 200, "EEprom Is Old !! Pls Update !"}};
  for (const auto& [name, changedAt, answers, noGetAt, text] : rows) {
    CFakeEepromDriver board;
    std::copy(g_EepromImage, g_EepromImage + 256, board.eeprom.begin());
    if (changedAt >= 0) board.eeprom[changedAt] ^= 0x01;
    board.answers = answers;
    RunEepromCheck(nullptr, board, board);
    RunEepromCheck(&board, board, board);
    EXPECT_EQ(CheckLog(text, noGetAt), board.log) << name;
    // The last read on the wire: all but its request bytes hold the reply to the read at 254.
    EXPECT_EQ("01a001fffefefefefefefe01fffefefefefefefefefefefefefefefe", board.lastGet) << name;
  }
}

// Written out by hand: each block behind its query, then a pause, then the bar
// at the next block (at the same block after a refusal).
const char UPDATE_START[] = "Q0 S0 Z10 P4 Q0 S4 Z10 P8 ";
const char UPDATE_SUCCESS[] = "Q0 S252 Z10 P256 show \"Update Success !!\" P0 ";
const char UPDATE_FAILED[] = "P8 Q0 S8 Z10 show \"Update Failed !!\" P0 ";

struct UpdateRow {
  const char* name;
  Answers answers;
  const char* excerpt;  // around the refusals
  int attempts;         // queries, each followed by a pause
  const char* end = UPDATE_SUCCESS;
};

const UpdateRow UPDATE_ROWS[] = {
    {"SetSFalseIsARefusal", {{"S12", {S_FALSE}}}, "P12 Q0 S12 Z10 P12 Q0 S12 Z10 P16 ", 65},
    {"RefusedQueriesSendNoBlock",
     {{"Q#2", {E_FAIL}}, {"Q#3", {CFakeEepromDriver::FLAGLESS}}, {"Q#4", {S_FALSE}}},
     "P8 Q0 Z10 P8 Q0 Z10 P8 Q0 Z10 P8 Q0 S8 Z10 P12 ",
     67},
    {"RefusalsDoNotAddUpOverBlocks",
     {{"S8", Refused(99)}, {"S12", Refused(99)}},
     "Q0 S8 Z10 P8 Q0 S8 Z10 P12 Q0 S12 Z10 P12 ",
     262},
    {"GivesUpAfter100InARow", {{"S8", Refused(100)}}, "", 102, UPDATE_FAILED},
};

TEST(EepromUpdate, DoesNothingWithoutAGraphElseWritesBlocksInOrderPausingAfterEveryAttempt) {
  using namespace ::testing;
  for (const UpdateRow& row : UPDATE_ROWS) {
    SCOPED_TRACE(row.name);
    CFakeEepromDriver board;
    board.answers = row.answers;
    RunEepromUpdate(nullptr, board, board, board);
    RunEepromUpdate(&board, board, board, board);
    EXPECT_THAT(board.log,
                AllOf(StartsWith(UPDATE_START), HasSubstr(row.excerpt), EndsWith(row.end)));
    EXPECT_EQ(row.attempts, std::count(board.log.begin(), board.log.end(), 'Q'));
    EXPECT_EQ(row.attempts, std::count(board.log.begin(), board.log.end(), 'Z'));
    board.log.clear();
    RunEepromUpdate(&board, board, board, board);
    EXPECT_THAT(board.log, AllOf(StartsWith(UPDATE_START), EndsWith(UPDATE_SUCCESS)))
        << "again from block 0";
    EXPECT_EQ("01a005fcffffffff" + std::string(22, '0'), board.lastSet) << "the last write";
    EXPECT_THAT(board.eeprom, ElementsAreArray(g_EepromImage, 256));
  }
}

// Typed out on purpose: all else, the end-to-end tests' board file too, takes
// the image from g_EepromImage itself, so this is the one guard of its bytes.
TEST(EepromImage, HoldsTheBoardHeaderThenFF) {
  EXPECT_EQ("20001300000000002c0005001d5e6c2a50030500048000000c0305800e0100008201002278000000",
            CFakeEepromDriver::Hex(g_EepromImage, 40));
  EXPECT_EQ(std::string(2 * 216, 'f'), CFakeEepromDriver::Hex(g_EepromImage + 40, 216));
}

}  // namespace
