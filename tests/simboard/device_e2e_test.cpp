// The program's own device access and EEPROM procedures against the
// registered simulated board: presence check, device graph, check, update.
#include <algorithm>
#include <string>
#include <vector>

#include "board_test_fixture.h"
#include "device_ids.h"
#include "eeprom_procedures.h"
#include "lumiq_device_access.h"
#include "procedure_sinks.h"

namespace {

using DeviceEndToEnd = BoardTest;

size_t CountPrefix(const std::vector<std::string>& lines, const std::string& prefix) {
  return static_cast<size_t>(std::count_if(
      lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(prefix, 0) == 0; }));
}

TEST_F(DeviceEndToEnd, FindsTheBoardBuildsTheGraphChecksAndUpdates) {
  CLumiqDeviceAccess access;
  EXPECT_EQ(1, access.FindCaptureDevice(KSCATEGORY_BDA_RECEIVER_COMPONENT,
                                        "PCI#VEN_14F1&DEV_8852&SUBSYS_2A6C5E1D"));
  access.OpenDevice();
  ASSERT_NE(nullptr, access.m_pDigitalGraph);
  IKsPropertySet* board = access.m_pDigitalGraph->PropertySet();
  ASSERT_NE(nullptr, board);

  RecordingProgress progress;
  RecordingResultLine checkLine;
  EXPECT_EQ(CheckOutcome::Old, RunEepromCheck(board, progress, checkLine));
  EXPECT_EQ(ShownWith(CHECK_RESULT_OLD), checkLine.events);

  RecordingResultLine updateLine;
  MockPause pause;
  EXPECT_CALL(pause, Pause(UPDATE_PAUSE_MS)).Times(64);
  EXPECT_EQ(UpdateOutcome::Success, RunEepromUpdate(board, progress, updateLine, pause));
  EXPECT_EQ(ShownWith(UPDATE_RESULT_SUCCESS), updateLine.events);

  RecordingResultLine secondCheck;
  EXPECT_EQ(CheckOutcome::New, RunEepromCheck(board, progress, secondCheck));
  EXPECT_EQ(ShownWith(CHECK_RESULT_NEW), secondCheck.events);

  access.CloseDevice();
  std::vector<std::string> lines = LogLines();
  EXPECT_EQ(64u, CountPrefix(lines, "Set prop=0 "));
  EXPECT_EQ(512u, CountPrefix(lines, "Get prop=2 "));
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ("FilterReleased", lines.back());
}

TEST_F(DeviceEndToEnd, UpdateRepeatsABlockTheBoardRefusedOnce) {
  ScopedEnvironment knob("TRAVUNE_SIMBOARD_REFUSE_BLOCK", "8:1");
  CLumiqDeviceAccess access;
  access.OpenDevice();
  ASSERT_NE(nullptr, access.m_pDigitalGraph);
  RecordingProgress progress;
  RecordingResultLine line;
  testing::NiceMock<MockPause> pause;
  EXPECT_EQ(UpdateOutcome::Success,
            RunEepromUpdate(access.m_pDigitalGraph->PropertySet(), progress, line, pause));
  access.CloseDevice();

  std::vector<std::string> sets;
  for (const std::string& l : LogLines()) {
    if (l.rfind("Set ", 0) == 0)
      sets.push_back(l.substr(0, l.find(" bytes=")) + l.substr(l.find(" result=")));
  }
  ASSERT_EQ(65u, sets.size());
  EXPECT_EQ("Set prop=0 offset=8 result=E_FAIL", sets[2]);
  EXPECT_EQ("Set prop=0 offset=8 result=S_OK", sets[3]);
  EXPECT_EQ("Set prop=0 offset=12 result=S_OK", sets[4]);
}

TEST_F(DeviceEndToEnd, CheckOfAnUnreadableBoardReportsAFailedRead) {
  ScopedEnvironment knob("TRAVUNE_SIMBOARD_NO_SUPPORT", "get");
  CLumiqDeviceAccess access;
  access.OpenDevice();
  ASSERT_NE(nullptr, access.m_pDigitalGraph);
  RecordingProgress progress;
  RecordingResultLine line;
  CheckOutcome outcome = RunEepromCheck(access.m_pDigitalGraph->PropertySet(), progress, line);
  EXPECT_EQ(CheckOutcome::ReadFailed, outcome);
  EXPECT_EQ(0u, CountPrefix(LogLines(), "Get "));
}

}  // namespace
