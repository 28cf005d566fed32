// Captures everything written to DebugLog while it lives, as one text, so
// tests see exact bytes including lines without a line end.
#pragma once

#include <string>

#include "debug_log.h"

class CapturedDebugLog {
 public:
  CapturedDebugLog() : previous_(SetDebugLogSink(Append)) { Text().clear(); }
  ~CapturedDebugLog() { SetDebugLogSink(previous_); }
  CapturedDebugLog(const CapturedDebugLog&) = delete;
  CapturedDebugLog& operator=(const CapturedDebugLog&) = delete;

  static std::string& Text() {
    static std::string text;
    return text;
  }

 private:
  static void Append(const char* line) { Text() += line; }
  DebugLogSink previous_;
};
