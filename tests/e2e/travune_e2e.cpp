#include "travune_e2e.h"

#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>

#include "eeprom_image.h"

namespace {

const char MAIN_CAPTION[] = "Travune ( EEPROM Update )";
// What the board is registered as in this prefix, once this process knows.
std::optional<Board> g_registered;
int g_folders = 0;

std::string Env(const char* name, const char* fallback = "") {
  char value[1024];
  const DWORD length = GetEnvironmentVariableA(name, value, sizeof(value));
  return length > 0 && length < sizeof(value) ? value : fallback;
}

struct WindowQuery {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK MatchMainWindow(HWND window, LPARAM parameter) {
  WindowQuery* query = reinterpret_cast<WindowQuery*>(parameter);
  DWORD owner = 0;
  char caption[64] = "";
  GetWindowThreadProcessId(window, &owner);
  GetWindowTextA(window, caption, sizeof(caption));
  if (owner != query->processId || !IsWindowVisible(window) || strcmp(caption, MAIN_CAPTION) != 0)
    return TRUE;
  query->found = window;
  return FALSE;
}

HWND WaitForMainWindow(DWORD processId) {
  WindowQuery query = {processId, nullptr};
  for (DWORD start = GetTickCount(); GetTickCount() - start < 30000; Sleep(5)) {
    EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&query));
    if (query.found != nullptr) break;
  }
  return query.found;
}

double Now() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

void TravuneE2e::SetUpTestSuite() {
  // Without a window manager, Wine waits two seconds for a closing window to
  // be withdrawn unless its X11 driver leaves window management alone.
  RegSetKeyValueA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", "Managed", REG_SZ, "N", 2);
}

void TravuneE2e::SetUp() {
  char temp[MAX_PATH] = "";
  GetTempPathA(sizeof(temp), temp);
  folder_ = std::string(temp) + "travune-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++g_folders);
  ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr)) << folder_;
  eeprom_ = folder_ + "\\eeprom.bin";
  log_ = folder_ + "\\board.log";
  SetKnob("TRAVUNE_SIMBOARD_EEPROM", eeprom_.c_str());
  SetKnob("TRAVUNE_SIMBOARD_LOG", log_.c_str());
  for (const char* knob : {"TRAVUNE_SIMBOARD_REFUSE_READS", "TRAVUNE_SIMBOARD_REFUSE_BLOCK",
                           "TRAVUNE_SIMBOARD_TUNER_NAME"})
    SetKnob(knob, nullptr);
}

void TravuneE2e::TearDown() {
  app_.reset();
  if (HasFailure()) {
    std::printf("board log and EEPROM file kept in %s\n", folder_.c_str());
    return;
  }
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder_ + "\\*").c_str(), &found);
  while (search != INVALID_HANDLE_VALUE) {
    DeleteFileA((folder_ + "\\" + found.cFileName).c_str());
    if (!FindNextFileA(search, &found)) break;
  }
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  RemoveDirectoryA(folder_.c_str());
}

void TravuneE2e::Start(Board board) {
  if (g_registered != board) {
    g_registered.reset();
    if (board == Board::OtherTuner)
      SetKnob("TRAVUNE_SIMBOARD_TUNER_NAME", "Travune Digital Tuner 2 (DVB-T)");
    ASSERT_TRUE(Regsvr32(board == Board::None ? "/s /u" : "/s"));
    SetKnob("TRAVUNE_SIMBOARD_TUNER_NAME", nullptr);
    g_registered = board;
  }
  app_.reset();
  app_ = std::make_unique<Debuggee>(Env("TRAVUNE_E2E_APP"));
  ASSERT_NE(app_->Id(), 0u) << "Travune.exe did not start: " << Env("TRAVUNE_E2E_APP");
  main_ = WaitForMainWindow(app_->Id());
  ASSERT_NE(main_, nullptr) << "no window \"" << MAIN_CAPTION << "\" within 30 s";
}

bool TravuneE2e::Escape() {
  PostMessageA(main_, WM_COMMAND, IDCANCEL, 0);
  return app_->WaitForExit(20000);
}

Clicked TravuneE2e::Click(int button) {
  const size_t mark = BoardLog().size();
  const double start = Now();
  DWORD_PTR result = 0;
  EXPECT_NE(0, SendMessageTimeoutA(GetDlgItem(main_, button), BM_CLICK, 0, 0, SMTO_NORMAL, 60000,
                                   &result))
      << "the click on " << button << " did not return within 60 s";
  const double ms = Now() - start;
  return {ms, Requests(mark)};
}

std::string TravuneE2e::Shown(int line) const {
  HWND control = GetDlgItem(main_, line);
  char text[256] = "";
  if (!IsWindowVisible(control)) return "(hidden)";
  GetWindowTextA(control, text, sizeof(text));
  return text;
}

int TravuneE2e::Progress() const {
  return static_cast<int>(SendMessageA(GetDlgItem(main_, IDC_PROGRESS), PBM_GETPOS, 0, 0));
}

bool TravuneE2e::Regsvr32(const std::string& arguments) {
  std::string commandLine = "\"" + Env("TRAVUNE_E2E_REGSVR32", "regsvr32") + "\" " + arguments +
                            " \"" + Env("TRAVUNE_E2E_BOARD") + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info))
    return false;
  DWORD code = 1;
  if (WaitForSingleObject(info.hProcess, 60000) == WAIT_OBJECT_0)
    GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return code == 0;
}

void TravuneE2e::SetKnob(const char* name, const char* value) {
  SetEnvironmentVariableA(name, value);
}

void TravuneE2e::WriteEeprom(const std::string& bytes) const {
  std::ofstream(eeprom_, std::ios::binary) << bytes;
}

std::string TravuneE2e::ReadEeprom() const {
  std::ifstream file(eeprom_, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::vector<std::string> TravuneE2e::BoardLog() const {
  std::ifstream file(log_, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> TravuneE2e::Requests(size_t from) const {
  std::vector<std::string> requests;
  const std::vector<std::string> lines = BoardLog();
  for (size_t i = from; i < lines.size(); ++i) {
    std::string line = lines[i];
    if (StartsWith(line, "Get ")) {
      const size_t bytes = line.find(" bytes=");
      if (bytes != std::string::npos) line.erase(bytes, line.find(' ', bytes + 1) - bytes);
    }
    if (StartsWith(line, "QuerySupported ") || StartsWith(line, "Get ") || StartsWith(line, "Set "))
      requests.push_back(line);
  }
  return requests;
}

std::string GetLine(int offset, const char* result) {
  return "Get prop=2 offset=" + std::to_string(offset) + " result=" + result;
}

std::string SetLine(int offset, const char* result) {
  char bytes[9];
  std::snprintf(bytes, sizeof(bytes), "%02x%02x%02x%02x", g_EepromImage[offset],
                g_EepromImage[offset + 1], g_EepromImage[offset + 2], g_EepromImage[offset + 3]);
  return "Set prop=0 offset=" + std::to_string(offset) + " bytes=" + bytes + " result=" + result;
}

std::string ImageBytes() {
  return std::string(reinterpret_cast<const char*>(g_EepromImage), sizeof(g_EepromImage));
}
