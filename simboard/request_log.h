// The optional request log: when TRAVUNE_SIMBOARD_LOG names a file, every
// line is appended to it at once, so a crash or a kill loses nothing.
// Safe to call from DllMain (kernel32 only, no allocation).
#pragma once

void LogLine(const char* line);
void LogFormat(const char* format, ...);
