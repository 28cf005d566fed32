#include "lumiq_app.h"

#include <windows.h>
#include <commctrl.h>

#include "lumiq_dlg.h"
#include "proc_address.h"

namespace {
// NOLINTNEXTLINE(readability-identifier-naming): the product's name for its application object
CLumiqApp theApp;

// Every DLL loaded by name from here on, the media framework's and theirs
// included, comes from the system folder only, never from the exe's folder
// or the current one. SetDefaultDllDirectories is missing on Windows Vista
// and on 7 without KB2533623; there SetDllDirectoryW(L"") only takes the
// current folder out of the search, and the exe's own folder is still
// searched first.
void RestrictDllSearchToSystemFolder() {
  typedef BOOL(WINAPI * SetDefaultDllDirectoriesProc)(DWORD);
  const auto setDefaultDllDirectories = ProcAddress<SetDefaultDllDirectoriesProc>(
      GetModuleHandleA("KERNEL32.DLL"), "SetDefaultDllDirectories");
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
