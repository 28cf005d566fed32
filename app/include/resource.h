// Resource identifiers shared by the resource script and the code.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_MAIN_DIALOG 102
#define IDR_MAINFRAME 128

#define IDM_ABOUTBOX 0x0010

#define IDC_CHECK_EEPROM 1034
#define IDC_UPDATE_EEPROM 1035
#define IDC_CHECK_RESULT 1042
#define IDC_UPDATE_RESULT 1043
#define IDC_PROGRESS 1044

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
