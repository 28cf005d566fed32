#include "board_test_fixture.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

const char* const kKnobs[] = {"TRAVUNE_SIMBOARD_REFUSE_READS", "TRAVUNE_SIMBOARD_REFUSE_BLOCK",
                              "TRAVUNE_SIMBOARD_GET_RESULT",   "TRAVUNE_SIMBOARD_SET_RESULT",
                              "TRAVUNE_SIMBOARD_NO_SUPPORT",   "TRAVUNE_SIMBOARD_NO_RECEIVER",
                              "TRAVUNE_SIMBOARD_TUNER_NAME"};

}  // namespace

ScopedEnvironment::ScopedEnvironment(const char* name, const char* value) : name_(name) {
  char buffer[4096];
  DWORD length = GetEnvironmentVariableA(name, buffer, sizeof(buffer));
  if (length > 0 && length < sizeof(buffer)) {
    hadPrevious_ = true;
    previous_.assign(buffer, length);
  }
  SetEnvironmentVariableA(name, value);
}

ScopedEnvironment::~ScopedEnvironment() {
  SetEnvironmentVariableA(name_.c_str(), hadPrevious_ ? previous_.c_str() : nullptr);
}

std::string UniqueTempPath(const char* stem) {
  static unsigned counter = 0;
  char folder[MAX_PATH];
  GetTempPathA(MAX_PATH, folder);
  return std::string(folder) + stem + "-" + std::to_string(GetCurrentProcessId()) + "-" +
         std::to_string(++counter) + "-" + std::to_string(GetTickCount());
}

std::vector<BYTE> ReadFileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<BYTE>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool WriteFileBytes(const std::string& path, const std::vector<BYTE>& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(file);
}

std::vector<std::string> ReadLines(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(file, line)) lines.push_back(line);
  return lines;
}

void BoardTest::SetUp() {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  eepromPath_ = UniqueTempPath("simboard-eeprom") + ".bin";
  logPath_ = UniqueTempPath("simboard-log") + ".txt";
  environment_.push_back(
      std::make_unique<ScopedEnvironment>("TRAVUNE_SIMBOARD_EEPROM", eepromPath_.c_str()));
  environment_.push_back(
      std::make_unique<ScopedEnvironment>("TRAVUNE_SIMBOARD_LOG", logPath_.c_str()));
  for (const char* knob : kKnobs)
    environment_.push_back(std::make_unique<ScopedEnvironment>(knob, nullptr));
}

void BoardTest::OpenBoard() {
  ASSERT_EQ(S_OK, session_.Open());
  board_ = session_.PropertySet();
  ASSERT_NE(nullptr, board_);
}

bool BoardTest::Logged(const std::string& line) const {
  std::vector<std::string> lines = LogLines();
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

void BoardTest::TearDown() {
  board_ = nullptr;
  session_.Close();
  CoUninitialize();
  while (!environment_.empty()) environment_.pop_back();
  DeleteFileA(eepromPath_.c_str());
  DeleteFileA(logPath_.c_str());
}
