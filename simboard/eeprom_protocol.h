// What the board accepts as an EEPROM request. Each check answers S_OK or
// the failure the request is refused with.
#pragma once

#include "eeprom_requests.h"

// The buffers handed to Get or Set: property data present and exactly the
// record's size; instance data either absent (null, 0) or the same size.
HRESULT CheckRequestBuffers(const void* instance, DWORD instanceLength, const void* data,
                            DWORD dataLength, DWORD recordSize);

// Selector 1, bus address 0xA0, WriteCount 5, offset a multiple of 4 up to 252.
HRESULT CheckWriteRequest(const EEPROM_WRITE_REQUEST& request);

// Selector 1, bus address 0xA0, WriteCount 1, ReadCount 1.
HRESULT CheckReadRequest(const EEPROM_READ_REQUEST& request);
