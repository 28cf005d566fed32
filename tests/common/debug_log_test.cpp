#include "debug_log.h"

#include <gtest/gtest.h>

#include <string>

#ifndef _WIN32
#include "native_debug_output.h"
#endif

namespace {

std::string g_captured;
void Capture(const char* text) { g_captured += text; }

TEST(DebugLog, SinkReceivesTheTextUnchangedAndCanBeRestored) {
  g_captured.clear();
  const DebugLogSink previous = SetDebugLogSink(Capture);
  DebugLog("CGraph::FindFilter( 3 ) ERROR!!\n");
  DebugLog("no line end");
  EXPECT_EQ(Capture, SetDebugLogSink(previous));
  EXPECT_EQ("CGraph::FindFilter( 3 ) ERROR!!\nno line end", g_captured);
}

#ifndef _WIN32
TEST(DebugLog, DefaultSinkIsTheDebuggerOutput) {
  SetDebugLogSink(nullptr);
  ClearNativeDebugOutput();
  DebugLog("line\n");
  EXPECT_EQ("line\n", NativeDebugOutput());
}
#endif

}  // namespace
