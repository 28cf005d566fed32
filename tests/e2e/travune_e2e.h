// The real Travune.exe against the simulated board registered by the real
// regsvr32 (a child process, so either bitness works), watched through Wine's
// relay trace, which scripts/wine-run appends to TRAVUNE_WINE_STDERR. The
// board's knobs are environment variables that regsvr32 and Travune.exe inherit.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <gmock/gmock.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "resource.h"
#include "travune_driver.h"

// Wine's relay trace: every call of FUNCTIONS with its arguments and caller,
// those made through GetProcAddress too.
class CRelayTrace {
 public:
  static constexpr char FUNCTIONS[] =
      "SetDefaultDllDirectories;LoadLibraryW;timeBeginPeriod;timeEndPeriod;SetProcessInformation;"
      "Sleep;UnregisterDeviceNotification;OutputDebugStringA;CoUninitialize";

  CRelayTrace() = default;
  // What is traced from now on of `program`, mapped where its header prefers.
  CRelayTrace(const std::string& tracePath, const std::string& program) : m_path(tracePath) {
    std::ifstream trace(m_path, std::ios::binary | std::ios::ate);
    if (trace) m_seen = static_cast<size_t>(trace.tellg());
    char header[1024] = {};
    std::ifstream(program, std::ios::binary).read(header, sizeof(header));
    LONG pe = 0;
    std::memcpy(&pe, header + offsetof(IMAGE_DOS_HEADER, e_lfanew), sizeof(pe));
    if (pe <= 0 || pe > 768) return;
    const char* optional = header + pe + 24;  // past the signature and the file header
    const bool pe32Plus = optional[0] == 0x0B && optional[1] == 0x02;
    std::memcpy(&m_imageBase, optional + (pe32Plus ? 24 : 28), pe32Plus ? 8 : 4);
    std::memcpy(&m_imageSize, optional + 56, sizeof(m_imageSize));
  }

  // The calls the program made since the last look, without their modules,
  // and every debug string as its bare text, with \", \\ and \n undone: for
  // "0118:Call winmm.timeBeginPeriod(00000001) ret=14001a3cb", "timeBeginPeriod(00000001)".
  std::vector<std::string> Calls() {
    std::ifstream file(m_path, std::ios::binary);
    file.seekg(static_cast<std::streamoff>(m_seen));
    std::vector<std::string> calls;
    for (std::string line; std::getline(file, line); m_seen += line.size() + 1) {
      const size_t call = line.find(":Call ");
      const size_t module = line.find('.', call), end = line.find(") ret=", module);
      if (call == std::string::npos || end == std::string::npos) continue;
      std::string function;
      for (size_t at = module + 1; at <= end; ++at) {
        const bool escaped = line[at] == '\\';
        if (escaped) ++at;
        function += escaped && line[at] == 'n' ? '\n' : line[at];
      }
      const size_t text = function.find('"') + 1;
      if (function.rfind("OutputDebugStringA(", 0) == 0)
        calls.push_back(function.substr(text, function.size() - 2 - text));
      else if (std::stoull(line.substr(end + 6), nullptr, 16) - m_imageBase < m_imageSize)
        calls.push_back(function);
    }
    return calls;
  }

 private:
  std::string m_path;
  size_t m_seen = 0;
  ULONGLONG m_imageBase = 0;
  DWORD m_imageSize = 0;
};

inline std::string Env(const char* name, const char* fallback = "") {
  char value[1024];
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
  return length > 0 && length < sizeof(value) ? value : fallback;
}

class TravuneE2e : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // Without a window manager, Wine waits two seconds for a closing window
    // to be withdrawn unless its X11 driver leaves window management alone.
    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", "Managed", REG_SZ, "N", 2);
    RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\Debug", "RelayInclude", REG_SZ,
                    CRelayTrace::FUNCTIONS, sizeof(CRelayTrace::FUNCTIONS));
  }

  // A folder of the test's own, emptied of an earlier run's files.
  void SetUp() override {
    std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    std::replace(name.begin(), name.end(), '/', '-');
    m_folder = ::testing::TempDir() + "travune-e2e-" + name;
    CreateDirectoryA(m_folder.c_str(), nullptr);
    for (const char* file : {"\\eeprom.bin", "\\board.log"}) DeleteFileA((m_folder + file).c_str());
    SetEnvironmentVariableA("TRAVUNE_SIMBOARD_EEPROM", (m_folder + "\\eeprom.bin").c_str());
    SetEnvironmentVariableA("TRAVUNE_SIMBOARD_LOG", (m_folder + "\\board.log").c_str());
    for (const char* knob : {"REFUSE_BLOCK", "READ_DELAY_MS", "TUNER_NAME"})
      SetEnvironmentVariableA((std::string("TRAVUNE_SIMBOARD_") + knob).c_str(), nullptr);
  }

  // (Un)registers the board, then starts Travune.exe, traced, and waits for its window.
  void Start(bool registered = true) {
    const std::string program = Env("TRAVUNE_E2E_APP");
    ASSERT_TRUE(Regsvr32(registered ? "/s" : "/s /u"));
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

  // True when regsvr32 exits with 0 (through cmd.exe, which drops the outer quotes).
  static bool Regsvr32(const std::string& arguments) {
    return std::system(("\"\"" + Env("TRAVUNE_E2E_REGSVR32", "regsvr32") + "\" " + arguments +
                        " \"" + Env("TRAVUNE_E2E_BOARD") + "\"\"")
                           .c_str()) == 0;
  }

  void WriteEeprom(const std::string& bytes) const {
    std::ofstream(m_folder + "\\eeprom.bin", std::ios::binary) << bytes;
  }

  // "eeprom.bin" or the board's request log "board.log", whole.
  std::string Read(const char* file) const {
    std::ifstream stream(m_folder + "\\" + file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), {});
  }

  std::string m_folder;
  CTravuneDriver m_travune;
  CRelayTrace m_trace;
};
