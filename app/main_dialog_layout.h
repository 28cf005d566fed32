// Where the main dialog's controls stand, in client pixels, whatever the
// template's dialog units would give.
#pragma once

#include "resource.h"

const int MAIN_CLIENT_WIDTH = 500;
const int MAIN_CLIENT_HEIGHT = 210;
const int MAIN_FONT_TENTHS_OF_POINT = 120;
const char* const MAIN_FONT_FACE = "Arial";

struct ControlPlacement {
  const char* text;  // null: the control gets neither font nor text
  int id;
  int x;
  int y;
  int width;
  int height;
  bool hidden;
};

// Applied in this order; each control in turn goes to the top of the
// stacking order.
const ControlPlacement MAIN_DIALOG_LAYOUT[] = {
    {"Check EEPROM", IDC_CHECK_EEPROM, 10, 5, 170, 80, false},
    {"Update EEPROM", IDC_UPDATE_EEPROM, 10, 90, 170, 80, false},
    {"- EEPROM IS OLD -", IDC_CHECK_RESULT, 230, 35, 270, 20, true},
    {"- SUCCESS !!! -", IDC_UPDATE_RESULT, 230, 120, 270, 20, true},
    {nullptr, IDC_PROGRESS, 10, 180, 480, 20, false},
};
