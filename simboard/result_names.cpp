#include "result_names.h"

#include <vfwmsgs.h>

#include <cstdio>

const char* ResultName(HRESULT result, char* buffer, size_t capacity) {
  switch (result) {
    case S_OK:
      return "S_OK";
    case S_FALSE:
      return "S_FALSE";
    case E_FAIL:
      return "E_FAIL";
    case E_POINTER:
      return "E_POINTER";
    case E_INVALIDARG:
      return "E_INVALIDARG";
    case E_NOTIMPL:
      return "E_NOTIMPL";
    case E_PROP_SET_UNSUPPORTED:
      return "E_PROP_SET_UNSUPPORTED";
    case E_PROP_ID_UNSUPPORTED:
      return "E_PROP_ID_UNSUPPORTED";
    default:
      std::snprintf(buffer, capacity, "0x%08lX", static_cast<unsigned long>(result));
      return buffer;
  }
}
