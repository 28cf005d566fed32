#include "lumiq_dlg.h"

#include <ks.h>

#include "about_dlg.h"
#include "eeprom_procedures.h"
#include "proc_address.h"
#include "resource.h"
#include "update_pause.h"

namespace {

// Where the controls stand, in client pixels, whatever the template's dialog
// units would give.
const int MAIN_CLIENT_WIDTH = 500;
const int MAIN_CLIENT_HEIGHT = 210;
const int MAIN_FONT_TENTHS_OF_POINT = 120;
const char* const MAIN_FONT_FACE = "Arial";

struct ControlPlacement {
  const char* text;  // null: the control gets neither font nor text
  int id;
  int x;
  int y;
  int width;
  int height;
  bool hidden;
};

// Applied in this order; each control in turn goes to the top of the
// stacking order.
const ControlPlacement MAIN_DIALOG_LAYOUT[] = {
    {"Check EEPROM", IDC_CHECK_EEPROM, 10, 5, 170, 80, false},
    {"Update EEPROM", IDC_UPDATE_EEPROM, 10, 90, 170, 80, false},
    {"- EEPROM IS OLD -", IDC_CHECK_RESULT, 230, 35, 270, 20, true},
    {"- SUCCESS !!! -", IDC_UPDATE_RESULT, 230, 120, 270, 20, true},
    {nullptr, IDC_PROGRESS, 10, 180, 480, 20, false},
};

// The filter goes out with an empty name: the record alone, padding included.
static_assert(sizeof(DEV_BROADCAST_DEVICEINTERFACE_A) == 32, "device interface filter size");

// What the EEPROM procedures need of the dialog: its progress bar, let draw
// after every step, and a result line. The update's pause is in
// update_pause.h.
class CProgressPositionSink final : public IProgressSink {
 public:
  explicit CProgressPositionSink(CProgressCtrl& progress) : m_progress(progress) {}
  void SetProgressPosition(int position) override {
    m_progress.SetPos(position);
    m_progress.LetDraw();
  }

 private:
  CProgressCtrl& m_progress;
};

class CDialogResultLine final : public IResultLine {
 public:
  CDialogResultLine(HWND dialog, int id) : m_hDialog(dialog), m_id(id) {}
  void Show() override { ShowWindow(GetDlgItem(m_hDialog, m_id), SW_RESTORE); }
  void SetText(const char* text) override { SetDlgItemTextA(m_hDialog, m_id, text); }

 private:
  HWND m_hDialog;
  int m_id;
};

}  // namespace

CLumiqDlg::CLumiqDlg(HWND parent)
    : CDialog(IDD_MAIN_DIALOG, parent),
      m_hIcon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))),
      m_pUnregisterDeviceNotification(nullptr),
      m_hDeviceNotification(nullptr),
      m_bComInitialized(false),
      m_bRunning(false) {}

bool CLumiqDlg::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  if (m_bRunning && IsDeferredDuringRun(message, wParam)) {
    // Only a message sent by another thread or program gets here during a
    // run, and it must not start anything inside the run: it goes to the
    // back of the queue, to be acted on after the run as a posted one is.
    PostMessageA(m_hWnd, message, wParam, lParam);
    return true;
  }
  switch (message) {
    case WM_SYSCOMMAND:
      OnSysCommand(static_cast<UINT>(wParam));
      return true;
    case WM_PAINT:
      OnPaint();
      return true;
    case WM_QUERYDRAGICON:
      result = reinterpret_cast<INT_PTR>(OnQueryDragIcon());
      return true;
    case WM_DESTROY:
      OnDestroy();
      return true;
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_CHECK_EEPROM) {
        OnCheckEeprom();
        return true;
      }
      if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == IDC_UPDATE_EEPROM) {
        OnUpdateEeprom();
        return true;
      }
      break;
    default:
      break;
  }
  return CDialog::ProcessMessage(message, wParam, lParam, result);
}

BOOL CLumiqDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  m_progress.Attach(GetDlgItem(m_hWnd, IDC_PROGRESS));
  AddAboutEntry();
  SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
  // COM set up otherwise on this thread already (RPC_E_CHANGED_MODE) is
  // not ours to close at teardown.
  m_bComInitialized = SUCCEEDED(CoInitialize(nullptr));
  SetClientSize(MAIN_CLIENT_WIDTH, MAIN_CLIENT_HEIGHT);
  m_font.Create(MAIN_FONT_TENTHS_OF_POINT, MAIN_FONT_FACE);
  LayOutControls();
  OpenDevice();
  RegisterDeviceArrival();
  return TRUE;
}

void CLumiqDlg::AddAboutEntry() {
  const HMENU systemMenu = GetSystemMenu(m_hWnd, FALSE);
  if (systemMenu == nullptr) return;
  char text[256] = "";
  LoadStringA(GetModuleHandleA(nullptr), IDS_ABOUTBOX, text, sizeof(text));
  if (text[0] == '\0') return;
  AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(systemMenu, MF_STRING, IDM_ABOUTBOX, text);
}

void CLumiqDlg::SetClientSize(int width, int height) {
  RECT rect;
  GetClientRect(m_hWnd, &rect);
  rect.right = width;
  rect.bottom = height;
  AdjustWindowRectEx(&rect, static_cast<DWORD>(GetWindowLongA(m_hWnd, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(m_hWnd, GWL_EXSTYLE)));
  SetWindowPos(m_hWnd, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOMOVE | SWP_NOZORDER);
}

void CLumiqDlg::LayOutControls() {
  for (const ControlPlacement& placement : MAIN_DIALOG_LAYOUT) {
    const HWND control = GetDlgItem(m_hWnd, placement.id);
    if (placement.text != nullptr) {
      SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), TRUE);
      SetWindowTextA(control, placement.text);
    } else if (control == m_progress.GetSafeHwnd()) {
      m_progress.SetRange(0, 255);
    }
    SetWindowPos(control, HWND_TOP, placement.x, placement.y, placement.width, placement.height,
                 SWP_FRAMECHANGED);
    if (placement.hidden) ShowWindow(control, SW_HIDE);
  }
}

// The window asks to hear of capture devices arriving and leaving, and lets
// those WM_DEVICECHANGE messages take the default processing: the device is
// opened once, at start-up, so a board plugged in or out later changes
// nothing. The two entry points are looked up at run time, so that a system
// without them still runs the program, unregistered.
void CLumiqDlg::RegisterDeviceArrival() {
  DEV_BROADCAST_DEVICEINTERFACE_A filter = {};
  filter.dbcc_size = sizeof(filter);
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  filter.dbcc_classguid = KSCATEGORY_CAPTURE;

  typedef HDEVNOTIFY(WINAPI * RegisterDeviceNotificationProc)(HANDLE, LPVOID, DWORD);
  const HMODULE user32 = GetModuleHandleA("USER32.DLL");
  m_pUnregisterDeviceNotification =
      ProcAddress<UnregisterDeviceNotificationProc>(user32, "UnregisterDeviceNotification");
  const auto registerDeviceNotification =
      ProcAddress<RegisterDeviceNotificationProc>(user32, "RegisterDeviceNotificationA");
  if (registerDeviceNotification == nullptr) return;
  m_hDeviceNotification = registerDeviceNotification(m_hWnd, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void CLumiqDlg::OnSysCommand(UINT command) {
  if ((command & 0xFFF0) != IDM_ABOUTBOX) {
    SetMsgHandled(false);
    return;
  }
  CAboutDlg about(m_hWnd);
  about.DoModal();
}

void CLumiqDlg::OnPaint() {
  if (!IsIconic(m_hWnd)) {
    SetMsgHandled(false);
    return;
  }
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(m_hWnd, &paint);
  SendMessageA(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  const int iconWidth = GetSystemMetrics(SM_CXICON);
  const int iconHeight = GetSystemMetrics(SM_CYICON);
  RECT client;
  GetClientRect(m_hWnd, &client);
  const int x = (client.right - client.left - iconWidth + 1) / 2;
  const int y = (client.bottom - client.top - iconHeight + 1) / 2;
  DrawIcon(dc, x, y, m_hIcon);
  EndPaint(m_hWnd, &paint);
}

HICON CLumiqDlg::OnQueryDragIcon() const { return m_hIcon; }

void CLumiqDlg::OnDestroy() {
  if (m_hDeviceNotification != nullptr && m_pUnregisterDeviceNotification != nullptr) {
    m_pUnregisterDeviceNotification(m_hDeviceNotification);
  }
  CloseDevice();
  if (m_bComInitialized) CoUninitialize();
  SetMsgHandled(false);  // the default WM_DESTROY processing comes last
}

// A run's button clicks and the system commands (the About box's and the
// move and size loops run message loops of their own).
bool CLumiqDlg::IsDeferredDuringRun(UINT message, WPARAM wParam) {
  if (message == WM_SYSCOMMAND) return true;
  return message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
         (LOWORD(wParam) == IDC_CHECK_EEPROM || LOWORD(wParam) == IDC_UPDATE_EEPROM);
}

void CLumiqDlg::OnCheckEeprom() {
  if (m_pDigitalGraph == nullptr) return;
  CProgressPositionSink progress(m_progress);
  CDialogResultLine resultLine(m_hWnd, IDC_CHECK_RESULT);
  m_bRunning = true;
  RunEepromCheck(m_pDigitalGraph->PropertySet(), progress, resultLine);
  m_bRunning = false;
}

void CLumiqDlg::OnUpdateEeprom() {
  if (m_pDigitalGraph == nullptr) return;
  CProgressPositionSink progress(m_progress);
  CDialogResultLine resultLine(m_hWnd, IDC_UPDATE_RESULT);
  CFineTimer fineTimer;
  CPerformanceClock clock;
  CMeasuredPause pause(clock);
  m_bRunning = true;
  RunEepromUpdate(m_pDigitalGraph->PropertySet(), progress, resultLine, pause);
  m_bRunning = false;
}
