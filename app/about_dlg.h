// The About box, opened from the main dialog's system menu. OK, Escape and
// the close box end it: the dialog manager turns each into IDOK or IDCANCEL,
// which CDialog::ProcessMessage handles.
#pragma once

#include "dialog.h"
#include "resource.h"

class CAboutDlg : public CDialog {
 public:
  explicit CAboutDlg(HWND parent) : CDialog(IDD_ABOUTBOX, parent) {}
};
