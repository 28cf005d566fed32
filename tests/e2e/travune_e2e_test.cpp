#include "travune_e2e.h"

#include <cstdio>

#include "eeprom_image.h"

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

namespace {

const char RECEIVER_FOUND[] =
    "CGraph::FindCaptureDevice() str Device string = Travune Digital Receiver (DVB-T)";
const char READ_QUERY[] = "QuerySupported prop=2 offset=- bytes=- result=S_OK support=1";
const char WRITE_QUERY[] = "QuerySupported prop=0 offset=- bytes=- result=S_OK support=2";
const char OLD[] = "EEprom Is Old !! Pls Update !";
const char NEW[] = "EEPROM Is New !!";
const char READ_FAILED[] = "EEPROM Read Failed !!";
const char SUCCESS[] = "Update Success !!";
const char FAILED[] = "Update Failed !!";

// A write carries its block of the program's own reference image.
std::string SetLine(int offset) {
  char bytes[9];
  std::snprintf(bytes, sizeof(bytes), "%02x%02x%02x%02x", g_EepromImage[offset],
                g_EepromImage[offset + 1], g_EepromImage[offset + 2], g_EepromImage[offset + 3]);
  return "Set prop=0 offset=" + std::to_string(offset) + " bytes=" + bytes + " result=S_OK";
}

// A run's requests as the board logs them: a read of every offset, or a write
// of every block, each just after its support query.
std::vector<std::string> Requests(bool update) {
  std::vector<std::string> requests;
  for (int offset = 0; offset < 256; offset += update ? 4 : 1) {
    requests.push_back(update ? WRITE_QUERY : READ_QUERY);
    requests.push_back(update ? SetLine(offset)
                              : "Get prop=2 offset=" + std::to_string(offset) + " result=S_OK");
  }
  return requests;
}

}  // namespace

TEST_F(TravuneE2e, FindsTheTunerChecksOldUpdatesChecksNewAndOldAgainAfterTheBoardsReset) {
  ASSERT_NO_FATAL_FAILURE(Start());
  EXPECT_THAT(
      m_trace.DebugStrings(),
      ElementsAre(RECEIVER_FOUND, "CGraph::FindFilter( \"Travune Digital Tuner 1 (DVB-T)\" )\n",
                  "CGraph::AddFilter( \"Travune Digital Tuner 1 (DVB-T)\" )\n"));

  EXPECT_THAT(Click(IDC_CHECK_EEPROM), ElementsAreArray(Requests(false)));
  EXPECT_EQ(m_travune.Shown(IDC_CHECK_RESULT), OLD);
  EXPECT_EQ(Progress(), 0);

  EXPECT_THAT(Click(IDC_UPDATE_EEPROM), ElementsAreArray(Requests(true)));
  EXPECT_EQ(m_travune.Shown(IDC_UPDATE_RESULT), SUCCESS);
  EXPECT_EQ(m_travune.Shown(IDC_CHECK_RESULT), OLD) << "the update leaves the check line alone";

  Click(IDC_CHECK_EEPROM);
  EXPECT_EQ(m_travune.Shown(IDC_CHECK_RESULT), NEW);

  ASSERT_TRUE(Regsvr32("/s /n /i:reset"));  // the board's factory contents again
  Click(IDC_CHECK_EEPROM);
  EXPECT_EQ(m_travune.Shown(IDC_CHECK_RESULT), OLD);
  EXPECT_TRUE(m_travune.Escape());
}

// Against a board that takes 25 ms a read, a check lasts about 7 s. Windows
// ghosts a window whose thread has not looked at its queue for 5 s and
// offers to end the program; this one never reads as hung, answers what is
// sent to it meanwhile, and an update clicked meanwhile runs after the check.
TEST_F(TravuneE2e, ACheckLongerThanFiveSecondsNeverMakesTheWindowHung) {
  SetEnvironmentVariableA("TRAVUNE_SIMBOARD_READ_DELAY_MS", "25");
  ASSERT_NO_FATAL_FAILURE(Start());
  const size_t mark = BoardLog().size();
  PostMessageA(GetDlgItem(m_travune.Window(), IDC_CHECK_EEPROM), BM_CLICK, 0, 0);
  int hungLooks = 0;
  bool updateClicked = false;
  for (const DWORD start = GetTickCount(); m_travune.Shown(IDC_CHECK_RESULT) == "(hidden)";
       Sleep(100)) {
    ASSERT_LT(GetTickCount() - start, 20000u) << "the check did not end within 20 s";
    hungLooks += IsHungAppWindow(m_travune.Window()) ? 1 : 0;
    if (!updateClicked && Progress() > 128)
      updateClicked = m_travune.Click(IDC_UPDATE_EEPROM, 1000);
  }
  EXPECT_EQ(hungLooks, 0);
  ASSERT_TRUE(updateClicked) << "the click sent during the check went unanswered";
  for (const DWORD start = GetTickCount(); m_travune.Shown(IDC_UPDATE_RESULT) == "(hidden)";
       Sleep(100))
    ASSERT_LT(GetTickCount() - start, 5000u) << "no update after the check";
  std::vector<std::string> runs = Requests(false);
  for (const std::string& request : Requests(true)) runs.push_back(request);
  EXPECT_THAT(RequestsSince(mark), ElementsAreArray(runs));
  EXPECT_TRUE(m_travune.Escape());
}

TEST_F(TravuneE2e, ABlockRefusedForEverFailsTheUpdate) {
  SetEnvironmentVariableA("TRAVUNE_SIMBOARD_REFUSE_BLOCK", "8");
  ASSERT_NO_FATAL_FAILURE(Start());
  Click(IDC_UPDATE_EEPROM);
  EXPECT_EQ(m_travune.Shown(IDC_UPDATE_RESULT), FAILED);
  EXPECT_TRUE(m_travune.Escape());
}

TEST_F(TravuneE2e, ADamagedEepromFileFailsBothProceduresAndIsLeftAlone) {
  WriteEeprom("0123456789");
  ASSERT_NO_FATAL_FAILURE(Start());
  Click(IDC_CHECK_EEPROM);
  EXPECT_EQ(m_travune.Shown(IDC_CHECK_RESULT), READ_FAILED);
  Click(IDC_UPDATE_EEPROM);
  EXPECT_EQ(m_travune.Shown(IDC_UPDATE_RESULT), FAILED);
  EXPECT_TRUE(m_travune.Escape());
  EXPECT_EQ(ReadEeprom(), "0123456789");
}

// Without a usable board the program says why once and both buttons do nothing.
TEST_P(TravuneE2e, WithoutAUsableBoardClicksSendNothingAndShowNothing) {
  ASSERT_NO_FATAL_FAILURE(Start(GetParam().board));
  EXPECT_THAT(m_trace.DebugStrings(), ElementsAreArray(GetParam().debugStrings));
  EXPECT_THAT(Click(IDC_CHECK_EEPROM), IsEmpty());
  EXPECT_THAT(Click(IDC_UPDATE_EEPROM), IsEmpty());
  EXPECT_EQ(m_travune.Shown(IDC_CHECK_RESULT), "(hidden)");
  EXPECT_EQ(m_travune.Shown(IDC_UPDATE_RESULT), "(hidden)");
  EXPECT_TRUE(m_travune.Escape());
}

INSTANTIATE_TEST_SUITE_P(
    Unusable, TravuneE2e,
    ::testing::Values(
        UnusableBoard{
            "NoBoard",
            Board::None,
            {"CGraph::FindCaptureDevice() pDeviceEnum->CreateClassEnumerator() ERROR!!\n"}},
        UnusableBoard{"AnotherTuner",
                      Board::OtherTuner,
                      {RECEIVER_FOUND, "CGraph::FindFilter( 3 ) ERROR!!\n",
                       "Davad Irudazevi Failed", "CGraph::AddFilter( 2 ) ERROR!!\n"}}),
    [](const ::testing::TestParamInfo<UnusableBoard>& info) { return info.param.name; });
