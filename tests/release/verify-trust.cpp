// Prints WinVerifyTrust's answer (the generic verify action, no user interface,
// no revocation check: WTD_REVOKE_NONE is 0) for each file named, in eight hex digits.
#include <windows.h>
#include <softpub.h>
#include <wintrust.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
  for (int i = 1; i < argc; ++i) {
    WINTRUST_FILE_INFO file{sizeof file, argv[i], nullptr, nullptr};
    WINTRUST_DATA data{};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &file;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    std::printf("%08lx\n", static_cast<unsigned long>(WinVerifyTrust(nullptr, &action, &data)));
  }
  return 0;
}
