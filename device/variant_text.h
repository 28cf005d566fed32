// Reading text out of property values and converting it for log lines.
#pragma once

#include <string>
#include <vector>

#include "travune_platform.h"

// The string a property read left in the value holder, or null when the
// value is not a string or the string is null; such a read counts as failed.
const OLECHAR* StringInVariant(const VARIANT& value);

// Wide text in the ANSI code page, sized 2 x length + 2 bytes as the log
// lines need; the result is always terminated.
std::vector<char> NarrowForLog(const WCHAR* text);

// Wide text in the ANSI code page (2 x length + 2 bytes hold any of it).
std::string NarrowText(const WCHAR* text);

// Writes before + the name in the ANSI code page + after to DebugLog, cut to
// the 255 characters of a log line.
void DebugLogNamed(const char* before, const WCHAR* name, const char* after);
