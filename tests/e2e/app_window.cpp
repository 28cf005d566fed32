#include "app_window.h"

#include <commctrl.h>

namespace {

struct WindowQuery {
  DWORD processId;
  const std::string* caption;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
  WindowQuery* query = reinterpret_cast<WindowQuery*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != query->processId || !IsWindowVisible(window)) return TRUE;
  if (WindowText(window) != *query->caption) return TRUE;
  query->found = window;
  return FALSE;
}

}  // namespace

HWND FindProcessWindow(DWORD processId, const std::string& caption) {
  WindowQuery query = {processId, &caption, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

HWND WaitForProcessWindow(DWORD processId, const std::string& caption, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    HWND window = FindProcessWindow(processId, caption);
    if (window != nullptr) return window;
    if (GetTickCount() - start > timeoutMs) return nullptr;
    Sleep(1);
  }
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (IsWindow(window) && IsWindowVisible(window)) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(5);
  }
  return true;
}

std::string WindowText(HWND window) {
  char buffer[512] = "";
  GetWindowTextA(window, buffer, sizeof(buffer));
  return buffer;
}

RECT ChildRect(HWND control) {
  RECT rect = {};
  GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

SIZE ClientSize(HWND window) {
  RECT rect = {};
  GetClientRect(window, &rect);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

std::vector<int> ChildIdsTopDown(HWND window) {
  std::vector<int> ids;
  for (HWND child = GetWindow(window, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    ids.push_back(GetDlgCtrlID(child));
  }
  return ids;
}

int ProgressLow(HWND progress) {
  return static_cast<int>(SendMessageA(progress, PBM_GETRANGE, TRUE, 0));
}

int ProgressHigh(HWND progress) {
  return static_cast<int>(SendMessageA(progress, PBM_GETRANGE, FALSE, 0));
}

int ProgressPos(HWND progress) {
  return static_cast<int>(SendMessageA(progress, PBM_GETPOS, 0, 0));
}

bool ClickAndTime(HWND button, DWORD timeoutMs, double* elapsedMs) {
  DWORD_PTR result = 0;
  LONGLONG start = PerformanceNow();
  LRESULT answered = SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, timeoutMs, &result);
  *elapsedMs = MillisecondsBetween(start, PerformanceNow());
  return answered != 0;
}

void SyncWithWindow(HWND window) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
}

LONGLONG PerformanceNow() {
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart;
}

double MillisecondsBetween(LONGLONG from, LONGLONG to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to - from) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::string FormatRect(const RECT& rect) {
  return "(" + std::to_string(rect.left) + "," + std::to_string(rect.top) + " " +
         std::to_string(rect.right - rect.left) + "x" + std::to_string(rect.bottom - rect.top) +
         ")";
}
