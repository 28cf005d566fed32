// A thin wrapper over a progress bar control, bound to an existing window.
#pragma once

#include <windows.h>
#include <commctrl.h>

class CProgressCtrl {
 public:
  void Attach(HWND window) { m_hWnd = window; }
  HWND GetSafeHwnd() const { return m_hWnd; }

  void SetRange(short lower, short upper) {
    SendMessageA(m_hWnd, PBM_SETRANGE, 0, MAKELPARAM(lower, upper));
  }
  void SetPos(int position) { SendMessageA(m_hWnd, PBM_SETPOS, static_cast<WPARAM>(position), 0); }

 private:
  HWND m_hWnd = nullptr;
};
