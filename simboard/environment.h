// Reading the process environment, where the test knobs live.
#pragma once

#include <string>

// True when the variable is set (possibly to an empty text).
bool ReadEnvironment(const char* name, std::string* value);
bool ReadEnvironmentWide(const wchar_t* name, std::wstring* value);
