#include "bounded_format.h"

#include <cstdarg>
#include <cstdio>

HRESULT BoundedFormat(char* buffer, size_t capacity, const char* format, ...) {
  if (buffer == nullptr || capacity == 0 || capacity > BOUNDED_FORMAT_MAX_CAPACITY) {
    return E_INVALIDARG;
  }
  va_list arguments;
  va_start(arguments, format);
  const int needed = std::vsnprintf(buffer, capacity, format, arguments);
  va_end(arguments);
  if (needed < 0) {
    buffer[0] = '\0';
    return E_INVALIDARG;
  }
  return static_cast<size_t>(needed) < capacity ? S_OK : BOUNDED_FORMAT_E_TRUNCATED;
}
