// A modal dialog run from a resource template. The dialog procedure finds
// the object through DWLP_USER and hands each message to ProcessMessage;
// whatever that leaves unhandled gets the default dialog processing.
#pragma once

#include <windows.h>

class CDialog {
 public:
  CDialog(UINT templateId, HWND parent);
  virtual ~CDialog();

  // Creates the window from the template, runs the modal loop and returns
  // after the window is destroyed, with the value given to EndDialog.
  INT_PTR DoModal();

 protected:
  // True lets the system set the focus.
  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();

  // The message map: returns true when a handler took the message, with
  // result holding its answer; false leaves it to the default dialog
  // processing. Every handler takes the message's arguments as it needs them
  // and returns the message's answer, if any.
  virtual bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);
  // Called by a handler: the default dialog processing is to follow after all.
  void SetMsgHandled(bool handled) { m_bMsgHandled = handled; }

  void EndDialog(INT_PTR result);

  HWND m_hWnd;

 private:
  // No exception may cross the dialog manager's frames: one that escapes a
  // handler ends the program here, at a defined place.
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam,
                                     LPARAM lParam) noexcept;
  // Over the owner's window when there is one, else in the work area.
  void CenterWindow();

  UINT m_templateId;
  HWND m_parent;
  bool m_bMsgHandled;  // for the message being handled; a nested one keeps its own

  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;
};
