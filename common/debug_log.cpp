#include "debug_log.h"

#include "travune_platform.h"

namespace {
void DebuggerSink(const char* text) { OutputDebugStringA(text); }
DebugLogSink g_sink = DebuggerSink;
}  // namespace

void DebugLog(const char* text) { g_sink(text); }

DebugLogSink SetDebugLogSink(DebugLogSink sink) {
  DebugLogSink previous = g_sink;
  g_sink = sink != nullptr ? sink : DebuggerSink;
  return previous;
}
