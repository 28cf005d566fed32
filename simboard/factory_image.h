// What a board fresh from the factory holds: an older configuration image.
#pragma once

#include "eeprom_requests.h"

void CopyFactoryImage(BYTE image[EEPROM_SIZE]);
