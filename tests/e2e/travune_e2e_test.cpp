// The program's runs as a person sees them, and what each phase asks of the
// system where Wine is more lenient than Windows.
#include "travune_e2e.h"

using namespace ::testing;

namespace {

const char OLD[] = "EEprom Is Old !! Pls Update !";
const char NEW[] = "EEPROM Is New !!";
const char READ_FAILED[] = "EEPROM Read Failed !!";
const char SUCCESS[] = "Update Success !!";
const char FAILED[] = "Update Failed !!";
const char HIDDEN[] = "(hidden)";

// A start with something wrong, and the result lines after a check and an update.
struct FaultyStart {
  const char* name;
  bool registered;
  const char* knob;  // a variable of the board's set to `value`, or null
  const char* value;
  const char* eeprom;  // the EEPROM file's bytes, or null for none
  const char* checkResult;
  const char* updateResult;
};

const FaultyStart FAULTY_STARTS[] = {
    {"NoBoard", false, nullptr, nullptr, nullptr, HIDDEN, HIDDEN},
    {"AnotherTuner", true, "TRAVUNE_SIMBOARD_TUNER_NAME", "Travune Digital Tuner 2 (DVB-T)",
     nullptr, HIDDEN, HIDDEN},
    {"BlockRefusedForEver", true, "TRAVUNE_SIMBOARD_REFUSE_BLOCK", "8", nullptr, OLD, FAILED},
    {"DamagedEepromFile", true, nullptr, nullptr, "0123456789", READ_FAILED, FAILED},
};

class FaultyStarts : public TravuneE2e, public WithParamInterface<FaultyStart> {};

}  // namespace

// Start-up first confines the DLL search to the system folder, then says
// what it found. Only the update loads WINMM, by its full path in the system
// folder, raises the timer's resolution and asks that it be honoured, and
// restores it after its last pause; the teardown undoes the device
// notification, then lets the board's filter go, then closes COM.
TEST_F(TravuneE2e, ChecksOldUpdatesChecksNewAndOldAgainAfterTheBoardsReset) {
  ASSERT_NO_FATAL_FAILURE(Start());
  EXPECT_THAT(
      m_trace.Calls(),
      ElementsAre(
          "SetDefaultDllDirectories(00000800)",
          "CGraph::FindCaptureDevice() str Device string = Travune Digital Receiver (DVB-T)",
          "CGraph::FindFilter( \"Travune Digital Tuner 1 (DVB-T)\" )\n",
          "CGraph::AddFilter( \"Travune Digital Tuner 1 (DVB-T)\" )\n"));

  Click(IDC_CHECK_EEPROM);
  EXPECT_EQ(m_travune.Shown(IDC_CHECK_RESULT), OLD);
  EXPECT_THAT(m_trace.Calls(), IsEmpty()) << "the check";

  Click(IDC_UPDATE_EEPROM);
  EXPECT_EQ(m_travune.Shown(IDC_UPDATE_RESULT), SUCCESS);
  char folder[MAX_PATH] = "";  // a 32-bit program's too, redirected
  GetSystemDirectoryA(folder, MAX_PATH);
  std::vector<Matcher<std::string>> update(68, "Sleep(0000000a)");
  update[0] = AllOf(StartsWith("LoadLibraryW("), EndsWith(std::string(folder) + "\\winmm.dll\")"));
  update[1] = "timeBeginPeriod(00000001)";
  // ProcessPowerThrottling: that Windows 11 keep honouring the resolution.
  // Wine refuses it, so there is nothing to undo at the end.
  update[2] = AllOf(StartsWith("SetProcessInformation("), HasSubstr(",00000004,"));
  update.back() = "timeEndPeriod(00000001)";
  EXPECT_THAT(m_trace.Calls(), ElementsAreArray(update));

  Click(IDC_CHECK_EEPROM);
  EXPECT_EQ(m_travune.Shown(IDC_CHECK_RESULT), NEW);
  ASSERT_TRUE(Regsvr32("/s /n /i:reset"));  // the board's factory contents again
  Click(IDC_CHECK_EEPROM);
  EXPECT_EQ(m_travune.Shown(IDC_CHECK_RESULT), OLD);

  ASSERT_TRUE(m_travune.Escape());
  EXPECT_THAT(m_trace.Calls(),
              ElementsAre(StartsWith("UnregisterDeviceNotification("),
                          "Travune simulated board: filter released\n", "CoUninitialize()"));
}

// Against a board that takes 25 ms a read, a check lasts about 7 s; Windows
// ghosts a window that has not looked at its queue for 5 s. This one never
// reads as hung, and an update sent meanwhile runs after the check.
TEST_F(TravuneE2e, ACheckLongerThanFiveSecondsNeverMakesTheWindowHung) {
  SetEnvironmentVariableA("TRAVUNE_SIMBOARD_READ_DELAY_MS", "25");
  ASSERT_NO_FATAL_FAILURE(Start());
  PostMessageA(GetDlgItem(m_travune.Window(), IDC_CHECK_EEPROM), BM_CLICK, 0, 0);
  bool updateClicked = false;
  for (const DWORD start = GetTickCount(); m_travune.Shown(IDC_CHECK_RESULT) == HIDDEN;
       Sleep(100)) {
    ASSERT_LT(GetTickCount() - start, 20000u) << "the check did not end within 20 s";
    EXPECT_FALSE(IsHungAppWindow(m_travune.Window()));
    DWORD_PTR progress = 0;
    SendMessageTimeoutA(GetDlgItem(m_travune.Window(), IDC_PROGRESS), PBM_GETPOS, 0, 0, SMTO_NORMAL,
                        5000, &progress);
    if (!updateClicked && progress > 128) updateClicked = m_travune.Click(IDC_UPDATE_EEPROM, 1000);
  }
  ASSERT_TRUE(updateClicked) << "the click sent during the check went unanswered";
  EXPECT_TRUE(m_travune.Escape());  // queued behind the update
  const std::string requests = Read("board.log");
  ASSERT_NE(requests.find("\nSet "), std::string::npos) << "no update after the check";
  EXPECT_LT(requests.rfind("\nGet "), requests.find("\nSet ")) << "the update ran inside the check";
}

// Without a usable board both buttons do nothing; with a faulty one the
// procedures fail, and a damaged file is left alone.
TEST_P(FaultyStarts, ShowTheirResults) {
  const FaultyStart& start = GetParam();
  if (start.knob != nullptr) SetEnvironmentVariableA(start.knob, start.value);
  if (start.eeprom != nullptr) WriteEeprom(start.eeprom);
  ASSERT_NO_FATAL_FAILURE(Start(start.registered));
  Click(IDC_CHECK_EEPROM);
  Click(IDC_UPDATE_EEPROM);
  EXPECT_EQ(m_travune.Shown(IDC_CHECK_RESULT), start.checkResult);
  EXPECT_EQ(m_travune.Shown(IDC_UPDATE_RESULT), start.updateResult);
  EXPECT_TRUE(m_travune.Escape());
  if (start.eeprom == nullptr) return;
  EXPECT_EQ(Read("eeprom.bin"), start.eeprom);
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultyStarts, ValuesIn(FAULTY_STARTS),
                         [](const TestParamInfo<FaultyStart>& info) { return info.param.name; });
