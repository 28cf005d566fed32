// The diagnostic channel: narrow text for the debugger, nothing else.
#pragma once

typedef void (*DebugLogSink)(const char* text);

// Hands the text to the debugger output (OutputDebugStringA). The fixed
// texts passed here are part of the tool's observable output and are kept
// byte for byte, oddities included: the two-byte separator "\xA1\xD1", a
// line with neither class nor number, lines without a line end, and a class
// name printed from another class's code.
void DebugLog(const char* text);

// Replaces where DebugLog sends its text and returns the previous sink; a
// null sink restores the debugger output. Tests use it to read the lines.
DebugLogSink SetDebugLogSink(DebugLogSink sink);
