// The one header through which the core (common/, eeprom/, device/,
// board_contract/) reaches COM, OLE automation, DirectShow, kernel streaming
// and Win32: the Windows SDK's own headers.
#pragma once

#include <windows.h>
#include <dshow.h>
#include <ks.h>
#include <objbase.h>
#include <oleauto.h>
