#include "lumiq_app.h"

#include <windows.h>
#include <commctrl.h>

#include "lumiq_dlg.h"

namespace {
CLumiqApp theApp;
}  // namespace

bool CLumiqApp::InitInstance() {
  CLumiqDlg dialog(nullptr);
  dialog.DoModal();
  return false;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls = {};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_PROGRESS_CLASS;
  InitCommonControlsEx(&controls);

  // The modal run inside start-up is the whole program: no message loop follows.
  theApp.InitInstance();
  return 0;
}
