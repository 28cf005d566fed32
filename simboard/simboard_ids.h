// The simulated board's own identity: its filter class and the names and
// device paths it registers in the two BDA categories.
#pragma once

#include "travune_platform.h"

// {B43B6A5E-E134-4972-A063-04C54D2E0EF9}
static const CLSID CLSID_TravuneSimBoard = {
    0xB43B6A5E, 0xE134, 0x4972, {0xA0, 0x63, 0x04, 0xC5, 0x4D, 0x2E, 0x0E, 0xF9}};

static const WCHAR SIMBOARD_CLSID_TEXT[] = L"{B43B6A5E-E134-4972-A063-04C54D2E0EF9}";
static const WCHAR SIMBOARD_CLASS_NAME[] = L"Travune Simulated Board";

// Key names under each category's Instance key.
static const WCHAR SIMBOARD_RECEIVER_INSTANCE[] = L"Travune Simulated Receiver";
static const WCHAR SIMBOARD_TUNER_INSTANCE[] = L"Travune Simulated Tuner 1";

static const WCHAR SIMBOARD_RECEIVER_FRIENDLY_NAME[] = L"Travune Digital Receiver (DVB-T)";

// Device-interface paths the way the PnP manager writes them: lower case,
// bus identity, instance id, interface class, reference string.
static const WCHAR SIMBOARD_RECEIVER_DEVICE_PATH[] =
    L"\\\\?\\pci#ven_14f1&dev_8852&subsys_2a6c5e1d&rev_04#4&1a2b3c4d&0&00e0#"
    L"{fd0a5af4-b41d-11d2-9c95-00c04f7971e0}\\{cde5c0c2-d57b-4636-a91a-c5f75d29fa8a}";
static const WCHAR SIMBOARD_TUNER_DEVICE_PATH[] =
    L"\\\\?\\pci#ven_14f1&dev_8852&subsys_2a6c5e1d&rev_04#4&1a2b3c4d&0&00e0#"
    L"{71985f48-1ca1-11d3-9cc8-00c04f7971e0}\\{cde5c0c2-d57b-4636-a91a-c5f75d29fa8a}";

// Registry value under the class key naming the EEPROM file.
static const WCHAR SIMBOARD_EEPROM_FILE_VALUE[] = L"EepromFile";
