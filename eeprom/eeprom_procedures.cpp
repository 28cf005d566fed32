#include "eeprom_procedures.h"

#include "eeprom_access.h"
#include "eeprom_image.h"

const char* const CHECK_RESULT_OLD = "EEprom Is Old !! Pls Update !";
const char* const CHECK_RESULT_NEW = "EEPROM Is New !!";
const char* const CHECK_RESULT_READ_FAILED = "EEPROM Read Failed !!";
const char* const UPDATE_RESULT_SUCCESS = "Update Success !!";
const char* const UPDATE_RESULT_FAILED = "Update Failed !!";

namespace {
void ShowResult(IResultLine& line, const char* text) {
  line.Show();
  line.SetText(text);
}
}  // namespace

void RunEepromCheck(IKsPropertySet* propertySet, IProgressSink& progress, IResultLine& resultLine) {
  if (propertySet == nullptr) return;
  bool differs = false;
  bool unread = false;
  for (unsigned offset = 0; offset < EEPROM_SIZE; ++offset) {
    BYTE value = 0;
    if (!ReadEepromByte(propertySet, static_cast<BYTE>(offset), &value)) {
      unread = true;
    } else if (value != g_EepromImage[offset]) {
      differs = true;
    }
    progress.SetProgressPosition(static_cast<int>(offset));
  }
  // A byte that could not be read proves nothing: never call such a board new.
  ShowResult(resultLine, differs  ? CHECK_RESULT_OLD
                         : unread ? CHECK_RESULT_READ_FAILED
                                  : CHECK_RESULT_NEW);
  progress.SetProgressPosition(0);
}

void RunEepromUpdate(IKsPropertySet* propertySet, IProgressSink& progress, IResultLine& resultLine,
                     IPause& pause) {
  if (propertySet == nullptr) return;
  unsigned offset = 0;
  int refusedInARow = 0;
  while (offset < EEPROM_SIZE) {
    if (WriteEepromBlock(propertySet, static_cast<BYTE>(offset), &g_EepromImage[offset])) {
      offset += EEPROM_BLOCK_SIZE;
      refusedInARow = 0;
    } else {
      ++refusedInARow;
    }
    pause.Pause(UPDATE_PAUSE_MS);
    if (refusedInARow == UPDATE_MAX_ATTEMPTS_PER_BLOCK) {
      ShowResult(resultLine, UPDATE_RESULT_FAILED);
      progress.SetProgressPosition(0);
      return;
    }
    progress.SetProgressPosition(static_cast<int>(offset));
  }
  ShowResult(resultLine, UPDATE_RESULT_SUCCESS);
  progress.SetProgressPosition(0);
}
