// What identifies the board to the system: the device categories the SDK
// headers lack, the board's device-path pattern and its tuner's name.
#pragma once

#include "travune_platform.h"

// {FD0A5AF4-B41D-11D2-9C95-00C04F7971E0}
extern const GUID KSCATEGORY_BDA_RECEIVER_COMPONENT;
// {71985F48-1CA1-11D3-9CC8-00C04F7971E0}
extern const GUID KSCATEGORY_BDA_NETWORK_TUNER;

// PCI vendor 14F1, device 8852, subsystem 2A6C5E1D; upper case throughout.
static const WCHAR BOARD_DEVICE_PATH_PATTERN[] = L"PCI#VEN_14F1&DEV_8852&SUBSYS_2A6C5E1D";

static const WCHAR TUNER_FRIENDLY_NAME[] = L"Travune Digital Tuner 1 (DVB-T)";
