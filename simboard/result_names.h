// Short names of the results the board answers, for the request log.
#pragma once

#include <windows.h>

// A name such as "S_OK" or "E_PROP_ID_UNSUPPORTED", else "0x%08lX" in buffer.
const char* ResultName(HRESULT result, char* buffer, size_t capacity);
