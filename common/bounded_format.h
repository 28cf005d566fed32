// printf-style formatting into a caller's buffer of a given capacity.
#pragma once

#include <cstddef>

#include "travune_platform.h"

#define BOUNDED_FORMAT_E_TRUNCATED ((HRESULT)0x8007007A)
#define BOUNDED_FORMAT_MAX_CAPACITY 0x7FFFFFFFu

// Writes at most capacity - 1 characters and always a terminator. Returns
// S_OK (also when the text fills exactly capacity - 1 characters),
// E_INVALIDARG without writing when capacity is 0 or above 0x7FFFFFFF, and
// BOUNDED_FORMAT_E_TRUNCATED when the text was cut.
HRESULT BoundedFormat(char* buffer, size_t capacity, const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 3, 4)))
#endif
    ;
