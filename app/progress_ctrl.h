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

  // Lets a thread that is busy with a run show the bar where it was set:
  // the themed bar animates towards each new position through its own timer
  // and paint messages, so only those, and only the bar's, are dispatched.
  // Looking at the queue also keeps the window from reading as hung, and
  // answers whatever other threads send to the thread's windows meanwhile.
  void LetDraw() {
    const UINT KINDS[] = {WM_TIMER, WM_PAINT};
    MSG message;
    for (UINT kind : KINDS) {
      // A bound, in case a message keeps coming back.
      for (int n = 0; n < 8 && PeekMessageA(&message, m_hWnd, kind, kind, PM_REMOVE); ++n)
        DispatchMessageA(&message);
    }
  }

 private:
  HWND m_hWnd = nullptr;
};
