// The diagnostic channel: narrow text for the debugger, nothing else.
#pragma once

typedef void (*DebugLogSink)(const char* text);

// Hands the text to the debugger output (OutputDebugStringA).
void DebugLog(const char* text);

// Replaces where DebugLog sends its text and returns the previous sink; a
// null sink restores the debugger output. Tests use it to read the lines.
DebugLogSink SetDebugLogSink(DebugLogSink sink);
