// Each test gets COM, an EEPROM file and a request log of its own, named
// through the board's environment variables, and a clean set of knobs.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "board_client.h"
#include "travune_platform.h"

// Sets a variable for the scope; restores the previous state afterwards.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const char* value);
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  ~ScopedEnvironment();

 private:
  std::string name_;
  std::string previous_;
  bool hadPrevious_ = false;
};

std::string UniqueTempPath(const char* stem);
std::vector<BYTE> ReadFileBytes(const std::string& path);
bool WriteFileBytes(const std::string& path, const std::vector<BYTE>& bytes);
std::vector<std::string> ReadLines(const std::string& path);

class BoardTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Opens the board into session_ and board_; the knobs set by then count,
  // as they are read when the filter is created. Closed by TearDown.
  void OpenBoard();

  std::vector<BYTE> EepromFile() const { return ReadFileBytes(eepromPath_); }
  std::vector<std::string> LogLines() const { return ReadLines(logPath_); }
  bool Logged(const std::string& line) const;

  std::string eepromPath_;
  std::string logPath_;
  BoardSession session_;
  IKsPropertySet* board_ = nullptr;

 private:
  std::vector<std::unique_ptr<ScopedEnvironment>> environment_;
};
