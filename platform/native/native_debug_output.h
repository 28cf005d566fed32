// Native stand-in for the debugger: everything OutputDebugStringA received.
#pragma once

#include <string>

const std::string& NativeDebugOutput();
void ClearNativeDebugOutput();
