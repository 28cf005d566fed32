#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "bounded_format.h"
#include "debug_log.h"

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

}  // namespace
