#include "lumiq_dlg.h"

#include <cstring>

#include "about_dlg.h"
#include "eeprom_procedures.h"
#include "resource.h"

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

// KSCATEGORY_CAPTURE {65E8773D-8F56-11D0-A3B9-00A0C9223196}: the device
// interfaces whose arrival and removal the dialog registers for.
const GUID CAPTURE_DEVICE_CATEGORY = {
    0x65E8773D, 0x8F56, 0x11D0, {0xA3, 0xB9, 0x00, 0xA0, 0xC9, 0x22, 0x31, 0x96}};

// The filter goes out with an empty name: the record alone, padding included.
static_assert(sizeof(DEV_BROADCAST_DEVICEINTERFACE_A) == 32, "device interface filter size");

const UINT TIMER_RESOLUTION_MS = 1;

// Casts through the one function type that GCC accepts for any target.
template <typename Proc>
Proc ProcAddress(HMODULE module, const char* name) {
  return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

// WINMM is no KnownDLL: by name, Windows would first look for it beside the
// exe, where anyone may have dropped a file. It is loaded by its full path.
HMODULE LoadWinmmFromSystemFolder() {
  const WCHAR NAME[] = L"\\winmm.dll";
  WCHAR path[MAX_PATH];
  const UINT length = GetSystemDirectoryW(path, MAX_PATH);
  if (length == 0 || length + ARRAYSIZE(NAME) > MAX_PATH) return nullptr;
  std::memcpy(path + length, NAME, sizeof(NAME));
  return LoadLibraryW(path);
}

// What the EEPROM procedures need of the dialog: its progress bar, a result
// line, and (for the update) a pause.
class CProgressPositionSink final : public IProgressSink {
 public:
  explicit CProgressPositionSink(CProgressCtrl& progress) : m_progress(progress) {}
  void SetProgressPosition(int position) override { m_progress.SetPos(position); }

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

// Sleeps with the system timer at 1 ms resolution for as long as the object
// lives, so that a 10 ms pause lasts about 10 ms rather than a whole
// default timer tick (15.6 ms). WINMM, which sets the resolution, is loaded
// only meanwhile; without it the pauses simply last longer.
class CFineTimerPause final : public IPause {
 public:
  CFineTimerPause() : m_hWinmm(LoadWinmmFromSystemFolder()), m_pTimeEndPeriod(nullptr) {
    if (m_hWinmm == nullptr) return;
    const auto beginPeriod = ProcAddress<TimePeriodProc>(m_hWinmm, "timeBeginPeriod");
    const auto endPeriod = ProcAddress<TimePeriodProc>(m_hWinmm, "timeEndPeriod");
    // Without both, or when the resolution cannot be raised, the pauses run
    // on the default timer.
    if (beginPeriod != nullptr && endPeriod != nullptr &&
        beginPeriod(TIMER_RESOLUTION_MS) == TIMERR_NOERROR) {
      m_pTimeEndPeriod = endPeriod;
    }
  }
  ~CFineTimerPause() {
    if (m_pTimeEndPeriod != nullptr) m_pTimeEndPeriod(TIMER_RESOLUTION_MS);
    if (m_hWinmm != nullptr) FreeLibrary(m_hWinmm);
  }
  void Pause(DWORD milliseconds) override { Sleep(milliseconds); }

 private:
  typedef UINT(WINAPI* TimePeriodProc)(UINT);

  HMODULE m_hWinmm;
  TimePeriodProc m_pTimeEndPeriod;  // null unless the resolution was raised

  CFineTimerPause(const CFineTimerPause&) = delete;
  CFineTimerPause& operator=(const CFineTimerPause&) = delete;
};

}  // namespace

CLumiqDlg::CLumiqDlg(HWND parent)
    : CDialog(IDD_MAIN_DIALOG, parent),
      m_hIcon(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME))),
      m_pUnregisterDeviceNotification(nullptr),
      m_hDeviceNotification(nullptr) {}

bool CLumiqDlg::ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
  switch (message) {
    case WM_SYSCOMMAND:
      return OnSysCommand(static_cast<UINT>(wParam));
    case WM_PAINT:
      return OnPaint();
    case WM_QUERYDRAGICON:
      result = reinterpret_cast<INT_PTR>(OnQueryDragIcon());
      return true;
    case WM_DESTROY:
      OnDestroy();
      return false;  // the default WM_DESTROY processing comes last
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
  CoInitialize(nullptr);
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
  filter.dbcc_classguid = CAPTURE_DEVICE_CATEGORY;

  typedef HDEVNOTIFY(WINAPI * RegisterDeviceNotificationProc)(HANDLE, LPVOID, DWORD);
  const HMODULE user32 = GetModuleHandleA("USER32.DLL");
  m_pUnregisterDeviceNotification =
      ProcAddress<UnregisterDeviceNotificationProc>(user32, "UnregisterDeviceNotification");
  const auto registerDeviceNotification =
      ProcAddress<RegisterDeviceNotificationProc>(user32, "RegisterDeviceNotificationA");
  if (registerDeviceNotification == nullptr) return;
  m_hDeviceNotification = registerDeviceNotification(m_hWnd, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);
}

bool CLumiqDlg::OnSysCommand(UINT command) {
  if ((command & 0xFFF0) != IDM_ABOUTBOX) return false;
  CAboutDlg about(m_hWnd);
  about.DoModal();
  return true;
}

bool CLumiqDlg::OnPaint() {
  if (!IsIconic(m_hWnd)) return false;
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
  return true;
}

HICON CLumiqDlg::OnQueryDragIcon() const { return m_hIcon; }

void CLumiqDlg::OnDestroy() {
  if (m_hDeviceNotification != nullptr && m_pUnregisterDeviceNotification != nullptr) {
    m_pUnregisterDeviceNotification(m_hDeviceNotification);
  }
  CloseDevice();
  CoUninitialize();
}

void CLumiqDlg::OnCheckEeprom() {
  if (m_pDigitalGraph == nullptr) return;
  CProgressPositionSink progress(m_progress);
  CDialogResultLine resultLine(m_hWnd, IDC_CHECK_RESULT);
  RunEepromCheck(m_pDigitalGraph->PropertySet(), progress, resultLine);
}

void CLumiqDlg::OnUpdateEeprom() {
  if (m_pDigitalGraph == nullptr) return;
  CProgressPositionSink progress(m_progress);
  CDialogResultLine resultLine(m_hWnd, IDC_UPDATE_RESULT);
  CFineTimerPause pause;
  RunEepromUpdate(m_pDigitalGraph->PropertySet(), progress, resultLine, pause);
}
