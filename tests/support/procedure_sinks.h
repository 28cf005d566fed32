// Recording stand-ins for what the procedures use of the main dialog.
#pragma once

#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "eeprom_procedures.h"

// Records the whole life of one result line: "show" and "text:<text>" events.
class RecordingResultLine : public IResultLine {
 public:
  void Show() override { events.push_back("show"); }
  void SetText(const char* text) override { events.push_back(std::string("text:") + text); }
  std::vector<std::string> events;
};

// The events of a result line shown once with the text.
inline std::vector<std::string> ShownWith(const char* text) {
  return {"show", std::string("text:") + text};
}

class RecordingProgress : public IProgressSink {
 public:
  void SetProgressPosition(int position) override { positions.push_back(position); }
  std::vector<int> positions;
};

class MockPause : public IPause {
 public:
  MOCK_METHOD(void, Pause, (DWORD milliseconds), (override));
};
