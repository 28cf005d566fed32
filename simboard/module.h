// The DLL's own bookkeeping: its module handle and the count of live
// objects and server locks that DllCanUnloadNow consults.
#pragma once

#include <windows.h>

HMODULE SimBoardModule();
void SimBoardLockModule();
void SimBoardUnlockModule();
bool SimBoardModuleInUse();
