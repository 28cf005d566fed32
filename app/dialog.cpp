#include "dialog.h"

namespace {
// Messages whose answer a dialog procedure returns itself instead of
// through DWLP_MSGRESULT.
bool AnswersDirectly(UINT message) {
  switch (message) {
    case WM_CHARTOITEM:
    case WM_COMPAREITEM:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_VKEYTOITEM:
      return true;
    default:
      return false;
  }
}

// Start of a span of the given length centred on [from, to), kept within
// [low, high) as far as it fits.
LONG CentredStart(LONG from, LONG to, LONG length, LONG low, LONG high) {
  LONG start = from + (to - from - length) / 2;
  if (start + length > high) start = high - length;
  if (start < low) start = low;
  return start;
}
}  // namespace

CDialog::CDialog(UINT templateId, HWND parent)
    : m_hWnd(nullptr), m_templateId(templateId), m_parent(parent), m_bMsgHandled(false) {}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal() {
  return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_templateId), m_parent,
                         &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CDialog::OnInitDialog() { return TRUE; }

void CDialog::OnOK() { EndDialog(IDOK); }

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::EndDialog(INT_PTR result) { ::EndDialog(m_hWnd, result); }

bool CDialog::ProcessMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR&) {
  // Escape, the close box, Alt+F4 and the system menu's Close arrive here
  // as IDCANCEL; Enter as IDOK unless another button is the default or has
  // the focus.
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    switch (LOWORD(wParam)) {
      case IDOK:
        OnOK();
        return true;
      case IDCANCEL:
        OnCancel();
        return true;
      default:
        break;
    }
  }
  return false;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam,
                                     LPARAM lParam) noexcept {
  if (message == WM_INITDIALOG) {
    // NOLINTNEXTLINE(performance-no-int-to-ptr): WM_INITDIALOG's lParam is the object
    auto* dialog = reinterpret_cast<CDialog*>(lParam);
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    dialog->m_hWnd = window;
    const BOOL setDefaultFocus = dialog->OnInitDialog();
    dialog->CenterWindow();
    return setDefaultFocus;
  }

  // NOLINTNEXTLINE(performance-no-int-to-ptr): DWLP_USER holds the object
  auto* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrA(window, DWLP_USER));
  if (dialog == nullptr) return FALSE;  // messages before WM_INITDIALOG

  INT_PTR result = 0;
  const bool outerHandled = dialog->m_bMsgHandled;
  dialog->m_bMsgHandled = true;
  const bool handled =
      dialog->ProcessMessage(message, wParam, lParam, result) && dialog->m_bMsgHandled;
  dialog->m_bMsgHandled = outerHandled;
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, DWLP_USER, 0);
    dialog->m_hWnd = nullptr;
  }
  if (!handled) return FALSE;
  if (AnswersDirectly(message)) return result;
  SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
  return TRUE;
}

void CDialog::CenterWindow() {
  RECT window;
  GetWindowRect(m_hWnd, &window);
  MONITORINFO monitor = {};
  monitor.cbSize = sizeof(monitor);
  GetMonitorInfoA(MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& area = monitor.rcWork;

  RECT around = area;
  const HWND owner = GetWindow(m_hWnd, GW_OWNER);
  if (owner != nullptr) GetWindowRect(owner, &around);

  const LONG x =
      CentredStart(around.left, around.right, window.right - window.left, area.left, area.right);
  const LONG y =
      CentredStart(around.top, around.bottom, window.bottom - window.top, area.top, area.bottom);
  SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
