// The fault knobs, as a test sets them in the environment before the
// filter is made.
#include <algorithm>

#include "board_client.h"
#include "board_test_fixture.h"

namespace {

using FaultKnob = BoardTest;

TEST_F(FaultKnob, RefusedReadsFailAtTheirOffsetsOnly) {
  ScopedEnvironment knob("TRAVUNE_SIMBOARD_REFUSE_READS", "0,5,255");
  ASSERT_NO_FATAL_FAILURE(OpenBoard());
  for (int offset : {0, 5, 255}) {
    EEPROM_READ_REQUEST request = MakeReadRequest(static_cast<BYTE>(offset));
    request.ReadData[0] = 0x5C;
    EXPECT_TRUE(FAILED(GetInPlace(board_, &request)));
    EXPECT_EQ(0x5C, request.ReadData[0]);
  }
  BYTE value = 0;
  EXPECT_EQ(S_OK, ReadByte(board_, 1, &value));
  EXPECT_EQ(S_OK, ReadByte(board_, 254, &value));
}

TEST_F(FaultKnob, BlockRefusedOnceIsAcceptedTheSecondTime) {
  ScopedEnvironment knob("TRAVUNE_SIMBOARD_REFUSE_BLOCK", "8:1");
  ASSERT_NO_FATAL_FAILURE(OpenBoard());
  EXPECT_EQ(S_OK, WriteBlock(board_, 4, 1, 1, 1, 1));
  EXPECT_EQ(E_FAIL, WriteBlock(board_, 8, 2, 2, 2, 2));
  BYTE value = 0;
  EXPECT_EQ(S_OK, ReadByte(board_, 8, &value));
  EXPECT_NE(2, value);
  EXPECT_EQ(S_OK, WriteBlock(board_, 8, 2, 2, 2, 2));
  EXPECT_EQ(S_OK, ReadByte(board_, 8, &value));
  EXPECT_EQ(2, value);
  EXPECT_TRUE(Logged("Set prop=0 offset=8 bytes=02020202 result=E_FAIL"));
}

TEST_F(FaultKnob, BlockRefusedForeverNeverChanges) {
  ScopedEnvironment knob("TRAVUNE_SIMBOARD_REFUSE_BLOCK", "12:forever,16:2");
  ASSERT_NO_FATAL_FAILURE(OpenBoard());
  for (int attempt = 0; attempt < 5; ++attempt) {
    EXPECT_EQ(E_FAIL, WriteBlock(board_, 12, 7, 7, 7, 7)) << attempt;
  }
  EXPECT_EQ(E_FAIL, WriteBlock(board_, 16, 7, 7, 7, 7));
  EXPECT_EQ(E_FAIL, WriteBlock(board_, 16, 7, 7, 7, 7));
  EXPECT_EQ(S_OK, WriteBlock(board_, 16, 7, 7, 7, 7));
  std::vector<BYTE> file = EepromFile();
  ASSERT_EQ(EEPROM_SIZE, file.size());
  EXPECT_NE(7, file[12]);
  EXPECT_EQ(7, file[16]);
}

TEST_F(FaultKnob, GetCanAnswerSFalseWithTheByteFilledIn) {
  ScopedEnvironment knob("TRAVUNE_SIMBOARD_GET_RESULT", "S_FALSE");
  ASSERT_NO_FATAL_FAILURE(OpenBoard());
  BYTE value = 0;
  EXPECT_EQ(S_FALSE, ReadByte(board_, 0, &value));
  EXPECT_EQ(0x20, value);
  EXPECT_TRUE(Logged("Get prop=2 offset=0 bytes=20 result=S_FALSE"));
}

TEST_F(FaultKnob, SetCanAnswerAnotherResultAfterStoring) {
  ScopedEnvironment knob("TRAVUNE_SIMBOARD_SET_RESULT", "0x80070015");
  ASSERT_NO_FATAL_FAILURE(OpenBoard());
  EXPECT_EQ(static_cast<HRESULT>(0x80070015), WriteBlock(board_, 0, 9, 9, 9, 9));
  EXPECT_TRUE(Logged("Set prop=0 offset=0 bytes=09090909 result=0x80070015"));
}

TEST_F(FaultKnob, SupportFlagsCanBeLeftOut) {
  {
    ScopedEnvironment knob("TRAVUNE_SIMBOARD_NO_SUPPORT", "get");
    ASSERT_NO_FATAL_FAILURE(OpenBoard());
    DWORD support = 0xFF;
    EXPECT_EQ(S_OK,
              board_->QuerySupported(PROPSETID_EEPROM_ACCESS, EEPROM_PROPERTY_READ, &support));
    EXPECT_EQ(0u, support);
    EXPECT_EQ(S_OK,
              board_->QuerySupported(PROPSETID_EEPROM_ACCESS, EEPROM_PROPERTY_WRITE, &support));
    EXPECT_EQ(static_cast<DWORD>(KSPROPERTY_SUPPORT_SET), support);
    session_.Close();
  }
  ScopedEnvironment knob("TRAVUNE_SIMBOARD_NO_SUPPORT", "set");
  ASSERT_NO_FATAL_FAILURE(OpenBoard());
  DWORD support = 0xFF;
  EXPECT_EQ(S_OK, board_->QuerySupported(PROPSETID_EEPROM_ACCESS, EEPROM_PROPERTY_WRITE, &support));
  EXPECT_EQ(0u, support);
}

TEST_F(FaultKnob, BadValuesAreIgnoredAndLogged) {
  ScopedEnvironment reads("TRAVUNE_SIMBOARD_REFUSE_READS", "abc,300,7");
  ScopedEnvironment block("TRAVUNE_SIMBOARD_REFUSE_BLOCK", "6:1,8,4:0,4:never");
  ScopedEnvironment result("TRAVUNE_SIMBOARD_GET_RESULT", "sometimes");
  ScopedEnvironment support("TRAVUNE_SIMBOARD_NO_SUPPORT", "both");
  ASSERT_NO_FATAL_FAILURE(OpenBoard());
  BYTE value = 0;
  EXPECT_EQ(S_OK, ReadByte(board_, 0, &value));
  EXPECT_TRUE(FAILED(ReadByte(board_, 7, &value))) << "the good item still counts";
  EXPECT_EQ(S_OK, WriteBlock(board_, 4, 1, 2, 3, 4));
  EXPECT_EQ(S_OK, WriteBlock(board_, 8, 1, 2, 3, 4));
  std::vector<std::string> lines = LogLines();
  size_t complaints = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
    return line.rfind("KnobIgnored ", 0) == 0;
  });
  EXPECT_EQ(8u, complaints);
  EXPECT_TRUE(Logged("KnobIgnored TRAVUNE_SIMBOARD_REFUSE_READS=\"300\": not an offset 0..255"));
}

}  // namespace
