// The main dialog: two buttons that run the EEPROM check and update, their
// result lines and the progress bar. It opens the device once while it
// initialises and takes everything down again when its window is destroyed.
#pragma once

#include <windows.h>
#include <dbt.h>

#include "dialog.h"
#include "lumiq_device_access.h"
#include "point_font.h"
#include "progress_ctrl.h"

class CLumiqDlg : public CDialog, public CLumiqDeviceAccess {
 public:
  explicit CLumiqDlg(HWND parent);

 protected:
  BOOL OnInitDialog() override;
  bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

 private:
  typedef BOOL(WINAPI* UnregisterDeviceNotificationProc)(HDEVNOTIFY);

  void OnSysCommand(UINT command);
  void OnPaint();

  HICON OnQueryDragIcon() const;
  void OnDestroy();
  void OnCheckEeprom();
  void OnUpdateEeprom();

  void AddAboutEntry();
  void SetClientSize(int width, int height);
  void LayOutControls();
  void RegisterDeviceArrival();
  static bool IsDeferredDuringRun(UINT message, WPARAM wParam);

  CProgressCtrl m_progress;
  HICON m_hIcon;
  // Used by the controls, so it outlives the window.
  CPointFont m_font;
  UnregisterDeviceNotificationProc m_pUnregisterDeviceNotification;
  HDEVNOTIFY m_hDeviceNotification;
  bool m_bComInitialized;  // CoInitialize succeeded, so teardown undoes it
  bool m_bRunning;         // a check or an update is under way
};
