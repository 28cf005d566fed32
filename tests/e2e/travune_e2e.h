// The real Travune.exe against the simulated board registered by the real
// regsvr32 (a child process, so either bitness works) and found through the
// platform's own media framework, watched through Wine's relay trace. Paths
// come from TRAVUNE_E2E_APP, TRAVUNE_E2E_BOARD and TRAVUNE_E2E_REGSVR32, the
// trace from TRAVUNE_WINE_STDERR, to which scripts/wine-run appends Wine's
// standard error; the board's knobs are environment variables that regsvr32
// and Travune.exe inherit.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "relay_trace.h"
#include "resource.h"
#include "travune_driver.h"

inline std::string Env(const char* name, const char* fallback = "") {
  char value[1024];
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
  return length > 0 && length < sizeof(value) ? value : fallback;
}

enum class Board { Standard, OtherTuner, None };

class TravuneE2e : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Without a window manager, Wine waits two seconds for a closing window
    // to be withdrawn unless its X11 driver leaves window management alone.
    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", "Managed", REG_SZ, "N", 2);
    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\Debug", "RelayInclude", REG_SZ,
                    CRelayTrace::FUNCTIONS, sizeof(CRelayTrace::FUNCTIONS));
  }

  // A folder of the test's own, without the EEPROM file and the board log an
  // earlier run left there.
  void SetUp() override {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '-');
    m_folder = ::testing::TempDir() + "travune-e2e-" + name;
    CreateDirectoryA(m_folder.c_str(), nullptr);
    DeleteFileA((m_folder + "\\eeprom.bin").c_str());
    DeleteFileA((m_folder + "\\board.log").c_str());
    SetEnvironmentVariableA("TRAVUNE_SIMBOARD_EEPROM", (m_folder + "\\eeprom.bin").c_str());
    SetEnvironmentVariableA("TRAVUNE_SIMBOARD_LOG", (m_folder + "\\board.log").c_str());
    SetEnvironmentVariableA("TRAVUNE_SIMBOARD_REFUSE_BLOCK", nullptr);
    SetEnvironmentVariableA("TRAVUNE_SIMBOARD_READ_DELAY_MS", nullptr);
  }

  void TearDown() override {
    if (HasFailure()) std::printf("board log and EEPROM file kept in %s\n", m_folder.c_str());
  }

  // Registers the board as asked, over what an earlier test left in the prefix.
  void Register(Board board) {
    if (board == Board::OtherTuner)
      SetEnvironmentVariableA("TRAVUNE_SIMBOARD_TUNER_NAME", "Travune Digital Tuner 2 (DVB-T)");
    ASSERT_TRUE(Regsvr32(board == Board::None ? "/s /u" : "/s"));
    SetEnvironmentVariableA("TRAVUNE_SIMBOARD_TUNER_NAME", nullptr);
  }

  // Registers the board as asked, then starts Travune.exe, traced, and waits
  // for its main window.
  void Start(Board board = Board::Standard) {
    const std::string program = Env("TRAVUNE_E2E_APP");
    ASSERT_NO_FATAL_FAILURE(Register(board));
    m_trace = CRelayTrace("Z:" + Env("TRAVUNE_WINE_STDERR"), program);
    SetEnvironmentVariableA("WINEDEBUG", "-all,+relay");  // for Travune.exe alone
    const std::string failure = m_travune.Start(program);
    SetEnvironmentVariableA("WINEDEBUG", "-all");
    ASSERT_TRUE(failure.empty()) << failure;
  }

  void Click(int button) {
    EXPECT_TRUE(m_travune.Click(button, 20000))
        << "the click on " << button << " did not return within 20 s";
  }

  // Runs regsvr32 with these arguments and the board's path through cmd.exe,
  // which takes off the outer quotes; true on exit code 0.
  static bool Regsvr32(const std::string& arguments) {
    return std::system(("\"\"" + Env("TRAVUNE_E2E_REGSVR32", "regsvr32") + "\" " + arguments +
                        " \"" + Env("TRAVUNE_E2E_BOARD") + "\"\"")
                           .c_str()) == 0;
  }

  void WriteEeprom(const std::string& bytes) const {
    std::ofstream(m_folder + "\\eeprom.bin", std::ios::binary) << bytes;
  }

  // A file of the test's folder, whole: "eeprom.bin", or the board's request
  // log "board.log".
  std::string Read(const char* file) const {
    std::ifstream stream(m_folder + "\\" + file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), {});
  }

  std::string m_folder;
  CTravuneDriver m_travune;
  CRelayTrace m_trace;
};
