// The GUIDs the program and the board (the driver, or the simulated board)
// both take from the board contract, pinned here once: a wrong value would
// still let them agree with each other, and with no real board. The device
// tests' fake board pins the device path pattern and the tuner's name.
#include <gtest/gtest.h>

#include <string>

#include "device_ids.h"
#include "eeprom_requests.h"

namespace {

std::wstring Text(REFGUID guid) {
  wchar_t text[40] = L"";
  StringFromGUID2(guid, text, 40);
  return text;
}

TEST(BoardContract, HoldsTheValuesTheBoardsDriverAnswersTo) {
  EXPECT_EQ(Text(KSCATEGORY_BDA_RECEIVER_COMPONENT), L"{FD0A5AF4-B41D-11D2-9C95-00C04F7971E0}");
  EXPECT_EQ(Text(KSCATEGORY_BDA_NETWORK_TUNER), L"{71985F48-1CA1-11D3-9CC8-00C04F7971E0}");
  EXPECT_EQ(Text(PROPSETID_EEPROM_ACCESS), L"{96EA8493-0034-4935-9531-DFD5D6167C8B}");
}

}  // namespace
