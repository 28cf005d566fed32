#include "lumiq_app.h"

#include <windows.h>
#include <commctrl.h>

#include "lumiq_dlg.h"

namespace {
// NOLINTNEXTLINE(readability-identifier-naming): the product's name for its application object
CLumiqApp theApp;

// Every DLL loaded from here on, the media framework's and theirs included,
// comes from the system folder only, never from the exe's folder or the
// current one. SetDefaultDllDirectories is missing on Windows Vista and 7
// without a later update; there the current folder at least leaves the search.
void RestrictDllSearchToSystemFolder() {
  typedef BOOL(WINAPI * SetDefaultDllDirectoriesProc)(DWORD);
  const auto setDefaultDllDirectories =
      reinterpret_cast<SetDefaultDllDirectoriesProc>(reinterpret_cast<void (*)()>(
          GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), "SetDefaultDllDirectories")));
  if (setDefaultDllDirectories == nullptr ||
      !setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    SetDllDirectoryW(L"");
  }
}
}  // namespace

bool CLumiqApp::InitInstance() {
  CLumiqDlg dialog(nullptr);
  dialog.DoModal();
  return false;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  RestrictDllSearchToSystemFolder();
  INITCOMMONCONTROLSEX controls = {};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_PROGRESS_CLASS;
  InitCommonControlsEx(&controls);

  // The modal run inside start-up is the whole program: no message loop follows.
  theApp.InitInstance();
  return 0;
}
