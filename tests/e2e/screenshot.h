// Saves what the screen shows of a window's client area, or of the whole
// screen, as a 24-bit BMP.
#pragma once

#include <windows.h>

#include <string>

bool SaveClientShot(HWND window, const std::string& path);
// The whole screen, for states with more than one window (About box, menus).
bool SaveScreenShot(const std::string& path);
