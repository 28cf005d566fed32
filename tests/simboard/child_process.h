// Runs one disabled test of this executable in a process of its own, with
// this process's environment; gives its exit code.
#pragma once

#include "travune_platform.h"

DWORD RunTestInChildProcess(const char* testName);
