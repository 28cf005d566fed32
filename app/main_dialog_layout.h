// Where the main dialog's controls stand, in client pixels, whatever the
// template's dialog units would give.
#pragma once

#include "resource.h"

const int MAIN_CLIENT_WIDTH = 500;
const int MAIN_CLIENT_HEIGHT = 210;
const int MAIN_FONT_TENTHS_OF_POINT = 120;
const char* const MAIN_FONT_FACE = "Arial";

struct ControlPlacement {
  int id;
  const char* text;  // null: the control gets neither font nor text
  int x;
  int y;
  int width;
  int height;
  bool hidden;
};

// Applied in this order; each control in turn goes to the top of the
// stacking order.
const ControlPlacement MAIN_DIALOG_LAYOUT[] = {
    {IDC_CHECK_EEPROM, "Check EEPROM", 10, 5, 170, 80, false},
    {IDC_UPDATE_EEPROM, "Update EEPROM", 10, 90, 170, 80, false},
    {IDC_CHECK_RESULT, "- EEPROM IS OLD -", 230, 35, 270, 20, true},
    {IDC_UPDATE_RESULT, "- SUCCESS !!! -", 230, 120, 270, 20, true},
    {IDC_PROGRESS, nullptr, 10, 180, 480, 20, false},
};
