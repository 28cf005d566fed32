// The EEPROM outlives the process that wrote it, and the request log shows
// how a process lets go of the board.
#include <algorithm>

#include "board_client.h"
#include "board_test_fixture.h"
#include "child_process.h"

namespace {

// Steps run by the children, with the parent's EEPROM file and log.
TEST(ChildProcess, DISABLED_WriteBlock) {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  {
    BoardSession session;
    ASSERT_EQ(S_OK, session.Open());
    EXPECT_EQ(S_OK, WriteBlock(session.PropertySet(), 0x40, 0xCA, 0xFE, 0xBA, 0xBE));
  }
  CoUninitialize();
}

TEST(ChildProcess, DISABLED_ReadBlockBack) {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  {
    BoardSession session;
    ASSERT_EQ(S_OK, session.Open());
    const BYTE expected[] = {0xCA, 0xFE, 0xBA, 0xBE};
    for (int i = 0; i < 4; ++i) {
      BYTE value = 0;
      EXPECT_EQ(S_OK, ReadByte(session.PropertySet(), static_cast<BYTE>(0x40 + i), &value));
      EXPECT_EQ(expected[i], value);
    }
  }
  CoUninitialize();
}

using Persistence = BoardTest;

TEST_F(Persistence, BlockWrittenInOneProcessIsReadInTheNext) {
  ASSERT_EQ(0u, RunTestInChildProcess("ChildProcess.DISABLED_WriteBlock"));
  std::vector<BYTE> file = EepromFile();
  ASSERT_EQ(EEPROM_SIZE, file.size());
  EXPECT_EQ(0xCA, file[0x40]);
  EXPECT_EQ(0u, RunTestInChildProcess("ChildProcess.DISABLED_ReadBlockBack"));
}

TEST_F(Persistence, ProcessReleasesTheFilterBeforeTheDllGoes) {
  ASSERT_EQ(0u, RunTestInChildProcess("ChildProcess.DISABLED_WriteBlock"));
  std::vector<std::string> lines = LogLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ("FilterCreated", lines.front());
  EXPECT_EQ("DllDetach", lines.back());
  auto released = std::find(lines.begin(), lines.end(), "FilterReleased");
  ASSERT_NE(lines.end(), released);
  EXPECT_EQ(lines.end() - 2, released) << "nothing between the release and the detach";
}

TEST_F(Persistence, AnEepromFileOfTheWrongSizeIsRefusedNotTrusted) {
  ASSERT_TRUE(WriteFileBytes(eepromPath_, std::vector<BYTE>(100, 0x42)));
  BoardSession session;
  ASSERT_EQ(S_OK, session.Open());
  BYTE value = 0;
  EXPECT_TRUE(FAILED(ReadByte(session.PropertySet(), 0, &value)));
  EXPECT_TRUE(FAILED(WriteBlock(session.PropertySet(), 0, 1, 2, 3, 4)));
  EXPECT_EQ(100u, EepromFile().size());
}

}  // namespace
