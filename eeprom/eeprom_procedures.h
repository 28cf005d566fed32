// The check and the update, written against the little they need of the
// dialog, so they run without any window.
#pragma once

#include "travune_platform.h"

class IProgressSink {
 public:
  virtual void SetProgressPosition(int position) = 0;

 protected:
  ~IProgressSink() = default;
};

class IResultLine {
 public:
  virtual void Show() = 0;
  virtual void SetText(const char* text) = 0;

 protected:
  ~IResultLine() = default;
};

class IPause {
 public:
  virtual void Pause(DWORD milliseconds) = 0;

 protected:
  ~IPause() = default;
};

extern const char* const CHECK_RESULT_OLD;
extern const char* const CHECK_RESULT_NEW;
extern const char* const CHECK_RESULT_READ_FAILED;
extern const char* const UPDATE_RESULT_SUCCESS;
extern const char* const UPDATE_RESULT_FAILED;

const DWORD UPDATE_PAUSE_MS = 10;
// Refused attempts in a row at one block before the update gives up.
const int UPDATE_MAX_ATTEMPTS_PER_BLOCK = 100;

// Reads all 256 bytes and compares them with g_EepromImage. A null
// property set (no device graph) does nothing at all.
void RunEepromCheck(IKsPropertySet* propertySet, IProgressSink& progress, IResultLine& resultLine);

// Writes g_EepromImage in 64 blocks, retrying a refused block after a pause
// until it is accepted or refused UPDATE_MAX_ATTEMPTS_PER_BLOCK times in a row.
void RunEepromUpdate(IKsPropertySet* propertySet, IProgressSink& progress, IResultLine& resultLine,
                     IPause& pause);
