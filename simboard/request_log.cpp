#include "request_log.h"

#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

const char kLogVariable[] = "TRAVUNE_SIMBOARD_LOG";

void AppendToLog(const char* text, DWORD length) {
  char path[MAX_PATH];
  DWORD pathLength = GetEnvironmentVariableA(kLogVariable, path, sizeof(path));
  if (pathLength == 0 || pathLength >= sizeof(path)) return;
  HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text, length, &written, nullptr);
  CloseHandle(file);
}

}  // namespace

void LogLine(const char* line) {
  char buffer[512];
  size_t length = std::strlen(line);
  if (length > sizeof(buffer) - 2) length = sizeof(buffer) - 2;
  std::memcpy(buffer, line, length);
  buffer[length] = '\n';
  AppendToLog(buffer, static_cast<DWORD>(length + 1));
}

void LogFormat(const char* format, ...) {
  char buffer[512];
  va_list arguments;
  va_start(arguments, format);
  int length = std::vsnprintf(buffer, sizeof(buffer), format, arguments);
  va_end(arguments);
  if (length < 0) return;
  LogLine(buffer);
}
