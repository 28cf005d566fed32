#include <gtest/gtest.h>

#include <string>

#include "bounded_format.h"
#include "debug_log.h"
#include "native_debug_output.h"

namespace {

struct FormatRow {
  size_t capacity;
  const char* text;
  HRESULT result;
  std::string buffer;  // all 8 bytes afterwards; the buffer starts as "kkkkkkk\0"
};

class BoundedFormatTable : public ::testing::TestWithParam<FormatRow> {};

TEST_P(BoundedFormatTable, WritesAtMostCapacityAlwaysTerminated) {
  char buffer[8] = "kkkkkkk";
  EXPECT_EQ(GetParam().result, BoundedFormat(buffer, GetParam().capacity, "%s", GetParam().text));
  EXPECT_EQ(GetParam().buffer, std::string(buffer, 8));
}

const HRESULT kCut = static_cast<HRESULT>(0x8007007A);

INSTANTIATE_TEST_SUITE_P(
    Capacities, BoundedFormatTable,
    ::testing::Values(FormatRow{5, "abcd", S_OK, std::string("abcd\0kk\0", 8)},
                      FormatRow{5, "abcde", kCut, std::string("abcd\0kk\0", 8)},
                      FormatRow{1, "a", kCut, std::string("\0kkkkkk\0", 8)},
                      FormatRow{0, "a", E_INVALIDARG, std::string("kkkkkkk\0", 8)},
                      FormatRow{0x80000000u, "a", E_INVALIDARG, std::string("kkkkkkk\0", 8)},
                      FormatRow{0x7FFFFFFFu, "ok", S_OK, std::string("ok\0kkkk\0", 8)}));

std::string g_captured;
void Capture(const char* text) { g_captured += text; }

TEST(DebugLog, SinkGetsTheTextUnchangedAndNullRestoresTheDebugger) {
  const DebugLogSink previous = SetDebugLogSink(Capture);
  DebugLog("CGraph::FindFilter( 3 ) ERROR!!\n");
  DebugLog("no line end");
  EXPECT_EQ(Capture, SetDebugLogSink(nullptr));
  EXPECT_EQ("CGraph::FindFilter( 3 ) ERROR!!\nno line end", g_captured);
  ClearNativeDebugOutput();
  DebugLog("line\n");
  EXPECT_EQ("line\n", NativeDebugOutput());
  SetDebugLogSink(previous);
}

}  // namespace
