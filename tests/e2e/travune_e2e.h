// The fixture of the end-to-end tests: the real Travune.exe, run as our
// debuggee under Wine, against the simulated board registered by the real
// regsvr32 and found through the platform's own media framework. Each test
// has an EEPROM file and a request log of its own in a fresh folder.
//
// Given by the environment: TRAVUNE_E2E_APP (Travune.exe), TRAVUNE_E2E_BOARD
// (simboard.dll) and TRAVUNE_E2E_REGSVR32 (default regsvr32). Registration
// runs in a child process, so a driver of either bitness can drive a board
// of the other.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "debuggee.h"
#include "resource.h"

enum class Board { Standard, OtherTuner, None };

// A start without a usable board: how it is registered and the exact debug
// strings Travune.exe writes.
struct UnusableBoard {
  const char* name;
  Board board;
  std::vector<std::string> debugStrings;
};

// A click: how long its handler ran and the board's requests meanwhile.
struct Clicked {
  double ms;
  std::vector<std::string> requests;
};

class TravuneE2e : public ::testing::TestWithParam<UnusableBoard> {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // Registers the board as asked unless it already is; then starts Travune.exe
  // and waits for its main window.
  void Start(Board board = Board::Standard);
  // Posts Escape as the dialog manager delivers it; true once the process ended.
  bool Escape();
  Clicked Click(int button);
  // The text of a result line, or "(hidden)".
  std::string Shown(int line) const;
  int Progress() const;
  std::vector<std::string> DebugStrings() const { return app_->Strings(); }

  // Runs regsvr32 with these arguments before the board's path; true on exit code 0.
  static bool Regsvr32(const std::string& arguments);
  static void SetKnob(const char* name, const char* value);
  void WriteEeprom(const std::string& bytes) const;
  std::string ReadEeprom() const;
  std::vector<std::string> BoardLog() const;
  // Request lines of the board's log from line `from` on, a Get's byte left out
  // (it is the board's, not the program's).
  std::vector<std::string> Requests(size_t from) const;

  std::string folder_, eeprom_, log_;
  std::unique_ptr<Debuggee> app_;
  HWND main_ = nullptr;
};

// Expected request lines, built from the program's own reference image.
std::string GetLine(int offset, const char* result = "S_OK");
std::string SetLine(int offset, const char* result = "S_OK");
std::string ImageBytes();
