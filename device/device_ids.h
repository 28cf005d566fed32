// What identifies the board to the system: the device categories the SDK
// headers lack, the board's device-path pattern and its tuner's name.
#pragma once

#include "travune_platform.h"

// {FD0A5AF4-B41D-11D2-9C95-00C04F7971E0}
static const GUID KSCATEGORY_BDA_RECEIVER_COMPONENT = {
    0xFD0A5AF4, 0xB41D, 0x11D2, {0x9C, 0x95, 0x00, 0xC0, 0x4F, 0x79, 0x71, 0xE0}};

// {71985F48-1CA1-11D3-9CC8-00C04F7971E0}
static const GUID KSCATEGORY_BDA_NETWORK_TUNER = {
    0x71985F48, 0x1CA1, 0x11D3, {0x9C, 0xC8, 0x00, 0xC0, 0x4F, 0x79, 0x71, 0xE0}};

// PCI vendor 14F1, device 8852, subsystem 2A6C5E1D; upper case throughout.
static const WCHAR BOARD_DEVICE_PATH_PATTERN[] =
    TRAVUNE_WIDE("PCI#VEN_14F1&DEV_8852&SUBSYS_2A6C5E1D");

static const WCHAR TUNER_FRIENDLY_NAME[] = TRAVUNE_WIDE("Travune Digital Tuner 1 (DVB-T)");
