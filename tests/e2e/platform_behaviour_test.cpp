// What the program and the board do to the machine around them, seen where
// Wine would otherwise be more lenient than Windows: the DLL search and the
// path WINMM is loaded from, the system timer's resolution, the teardown's
// calls and the registry.
#include <cstring>

#include "travune_e2e.h"

using ::testing::AllOf;
using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::EndsWith;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Matcher;
using ::testing::StartsWith;

// The relay trace shows the program's calls in one order with the board's
// word that its filter is gone. Start-up first confines the DLL search to the
// system folder; only the update loads WINMM, by its full path there,
// raises the timer's resolution and asks that it be honoured; the teardown
// undoes the registration, then lets the board's filter go, then closes COM.
TEST_F(TravuneE2e, TheRelayTraceShowsWhatEachPhaseAsksOfTheSystem) {
  ASSERT_NO_FATAL_FAILURE(Start());
  const std::vector<std::string> startUp = m_trace.Calls();
  ASSERT_FALSE(startUp.empty());
  EXPECT_EQ(startUp.front(), "SetDefaultDllDirectories(00000800)");
  EXPECT_THAT(std::vector<std::string>(startUp.begin() + 1, startUp.end()),
              Each(StartsWith("OutputDebugStringA(")));
  Click(IDC_CHECK_EEPROM);
  EXPECT_THAT(m_trace.Calls(), IsEmpty()) << "the check";
  Click(IDC_UPDATE_EEPROM);
  char folder[MAX_PATH] = "";  // a 32-bit program's too, redirected
  GetSystemDirectoryA(folder, MAX_PATH);
  std::string winmm = " L\"";
  for (const char* c = folder; *c != '\0'; ++c) winmm += *c == '\\' ? "\\\\" : std::string(1, *c);
  std::vector<Matcher<std::string>> update(68, "Sleep(0000000a)");
  update[0] = AllOf(StartsWith("LoadLibraryW("), EndsWith(winmm + "\\\\winmm.dll\")"));
  update[1] = "timeBeginPeriod(00000001)";
  // ProcessPowerThrottling: that Windows 11 keep honouring the resolution.
  // Wine refuses it, so there is nothing to undo at the end.
  update[2] = AllOf(StartsWith("SetProcessInformation("), HasSubstr(",00000004,"));
  update.back() = "timeEndPeriod(00000001)";
  EXPECT_THAT(m_trace.Calls(), ElementsAreArray(update));
  ASSERT_TRUE(m_travune.Escape());
  EXPECT_THAT(m_trace.Calls(),
              ElementsAre(StartsWith("UnregisterDeviceNotification("),
                          HasSubstr("board: filter released"), "CoUninitialize()"));
}

// A category's keys are the machine's: another device's entry under its
// Instance key, and a value of the category key's own, stay as they were.
// They are looked at in the registry view of the board's bitness, which the
// run's regsvr32 (of the same bitness) writes: the board's own entry comes
// and goes there. Both categories' entries are removed alike; the tuner's
// stands for both.
TEST_F(TravuneE2e, RegisteringAndUnregisteringLeavesOtherDevicesEntriesAlone) {
  const std::string CATEGORY = "{71985F48-1CA1-11D3-9CC8-00C04F7971E0}";
  const std::string OTHER = CATEGORY + "\\Instance\\Another Vendor's Device";
  const std::string BOARD_TUNER = CATEGORY + "\\Instance\\Travune Simulated Tuner 1";
  char header[1024] = {};
  std::ifstream(Env("TRAVUNE_E2E_BOARD").c_str(), std::ios::binary).read(header, sizeof(header));
  WORD machine = 0;  // past the signature of the header that e_lfanew finds
  std::memcpy(&machine, header + reinterpret_cast<IMAGE_DOS_HEADER*>(header)->e_lfanew + 4, 2);
  const REGSAM view = machine == IMAGE_FILE_MACHINE_I386 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
  HKEY clsid = nullptr;
  RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID", 0, KEY_ALL_ACCESS | view, &clsid);
  const auto holds = [clsid](const std::string& key, const char* value) {
    return RegGetValueA(clsid, key.c_str(), value, RRF_RT_REG_SZ, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
  };

  ASSERT_NO_FATAL_FAILURE(Register(Board::Standard));
  ASSERT_TRUE(holds(BOARD_TUNER, "FriendlyName"));
  RegSetKeyValueA(clsid, OTHER.c_str(), "FriendlyName", REG_SZ, "Other", 6);
  RegSetKeyValueA(clsid, CATEGORY.c_str(), "Owner", REG_SZ, "machine", 8);
  m_registered.reset();
  ASSERT_NO_FATAL_FAILURE(Register(Board::Standard));  // over the earlier registration
  ASSERT_NO_FATAL_FAILURE(Register(Board::None));
  EXPECT_FALSE(holds(BOARD_TUNER, "FriendlyName")) << "not the view that the run's regsvr32 writes";
  EXPECT_TRUE(holds(OTHER, "FriendlyName"));
  EXPECT_TRUE(holds(CATEGORY, "Owner"));
  RegDeleteTreeA(clsid, OTHER.c_str());
  RegDeleteKeyValueA(clsid, CATEGORY.c_str(), "Owner");
  RegCloseKey(clsid);
}
