// The request log and the names of the results it shows.
#include <vfwmsgs.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "simboard_private.h"

namespace {

void AppendToLog(const char* text, DWORD length) noexcept {
  char path[MAX_PATH];
  DWORD pathLength = GetEnvironmentVariableA("TRAVUNE_SIMBOARD_LOG", path, sizeof(path));
  if (pathLength == 0 || pathLength >= sizeof(path)) return;
  HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text, length, &written, nullptr);
  CloseHandle(file);
}

// A name such as "S_OK" or "E_PROP_ID_UNSUPPORTED", else "0x%08lX" in buffer.
const char* ResultName(HRESULT result, char (&buffer)[16]) noexcept {
  switch (result) {
    case S_OK:
      return "S_OK";
    case E_FAIL:
      return "E_FAIL";
    case E_POINTER:
      return "E_POINTER";
    case E_INVALIDARG:
      return "E_INVALIDARG";
    case E_PROP_SET_UNSUPPORTED:
      return "E_PROP_SET_UNSUPPORTED";
    case E_PROP_ID_UNSUPPORTED:
      return "E_PROP_ID_UNSUPPORTED";
    default:
      std::snprintf(buffer, sizeof(buffer), "0x%08lX", static_cast<unsigned long>(result));
      return buffer;
  }
}

void LogFormat(const char* format, ...) noexcept {
  char buffer[512];
  va_list arguments;
  va_start(arguments, format);
  int length = std::vsnprintf(buffer, sizeof(buffer), format, arguments);
  va_end(arguments);
  if (length >= 0) LogLine(buffer);
}

}  // namespace

void LogLine(const char* line) noexcept {
  char buffer[512];
  size_t length = std::strlen(line);
  if (length > sizeof(buffer) - 2) length = sizeof(buffer) - 2;
  // NOLINTNEXTLINE(bugprone-not-null-terminated-result): goes out by length, not as a string
  std::memcpy(buffer, line, length);
  buffer[length] = '\n';
  AppendToLog(buffer, static_cast<DWORD>(length + 1));
}

void LogRequest(const char* operation, DWORD id, int offset, const BYTE* bytes, unsigned count,
                HRESULT result) noexcept {
  char offsetText[8] = "-";
  if (offset >= 0) std::snprintf(offsetText, sizeof(offsetText), "%d", offset);
  char bytesText[2 * EEPROM_BLOCK_SIZE + 1] = "-";
  if (bytes != nullptr) {
    for (size_t i = 0; i < count; ++i) std::snprintf(bytesText + 2 * i, 3, "%02x", bytes[i]);
  }
  char resultBuffer[16];
  LogFormat("%s prop=%lu offset=%s bytes=%s result=%s", operation, static_cast<unsigned long>(id),
            offsetText, bytesText, ResultName(result, resultBuffer));
}

void LogSupportQuery(DWORD id, HRESULT result, DWORD flags) noexcept {
  char resultBuffer[16];
  LogFormat("QuerySupported prop=%lu offset=- bytes=- result=%s support=%lu",
            static_cast<unsigned long>(id), ResultName(result, resultBuffer),
            static_cast<unsigned long>(flags));
}
