#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

#include "bounded_format.h"
#include "debug_log.h"
#include "device_ids.h"
#include "eeprom_requests.h"

namespace {

TEST(BoundedFormat, WritesAtMostCapacityLessOneAndATerminatorOrNothing) {
  // capacity, text, result, the 8 bytes of a buffer that was "kkkkkkk\0" afterwards
  const std::tuple<size_t, const char*, HRESULT, const char*> rows[] = {
      {5, "abcd", S_OK, "abcd\0kk"},
      {5, "abcde", static_cast<HRESULT>(0x8007007A), "abcd\0kk"},
      {1, "a", static_cast<HRESULT>(0x8007007A), "\0kkkkkk"},
      {0, "a", E_INVALIDARG, "kkkkkkk"},
      {0x80000000u, "a", E_INVALIDARG, "kkkkkkk"},
      {0x7FFFFFFFu, "ok", S_OK, "ok\0kkkk"}};
  for (const auto& [capacity, text, result, after] : rows) {
    char buffer[8] = "kkkkkkk";
    EXPECT_EQ(result, BoundedFormat(buffer, capacity, "%s", text)) << capacity;
    EXPECT_EQ(0, std::memcmp(after, buffer, 8)) << capacity << " " << text;
  }
}

// The text reaching the sink is checked by every device test's log.
TEST(DebugLog, SetSinkReturnsThePreviousOneAndNullRestoresTheDebugger) {
  const DebugLogSink capture = [](const char*) {};
  const DebugLogSink debugger = SetDebugLogSink(capture);
  EXPECT_EQ(capture, SetDebugLogSink(nullptr));
  EXPECT_EQ(debugger, SetDebugLogSink(nullptr));
}

// The contract's GUIDs, pinned here once: the program and the board (driver
// or simulated board) both take them from it, so a wrong one would pass
// unseen. The device tests' fake board pins the path pattern and tuner name.
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
