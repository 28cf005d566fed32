// The pin enumerator of a filter that has no pins.
#pragma once

#include <dshow.h>
#include <windows.h>

HRESULT CreateEmptyPinEnum(IEnumPins** pins);
