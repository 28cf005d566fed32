// The contract's GUIDs, pinned here once: the program and the board (driver
// or simulated board) both take them from it, so a wrong one would pass
// unseen. The device tests' fake board pins the path pattern and tuner name.
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
