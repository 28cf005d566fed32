// A winmm.dll as someone might drop it beside Travune.exe in a Downloads
// folder. If it is ever loaded, it leaves "<its own path>.ran" behind.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cstring>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  char path[MAX_PATH + 4] = "";
  const DWORD length = GetModuleFileNameA(instance, path, MAX_PATH);
  std::memcpy(path + length, ".ran", 5);
  CloseHandle(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  return TRUE;
}

// What the program takes from WINMM.
extern "C" UINT WINAPI timeBeginPeriod(UINT) { return 0; }
extern "C" UINT WINAPI timeEndPeriod(UINT) { return 0; }
