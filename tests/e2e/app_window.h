// Looks at and drives another process's windows with the platform's own
// cross-process calls and messages only.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The visible top-level window of the process with exactly this caption, or
// null.
HWND FindProcessWindow(DWORD processId, const std::string& caption);
// Polls for it until it is visible or the timeout runs out.
HWND WaitForProcessWindow(DWORD processId, const std::string& caption, DWORD timeoutMs);
// Polls until the window is gone or hidden.
bool WaitForWindowGone(HWND window, DWORD timeoutMs);

std::string WindowText(HWND window);
// The control's rectangle in its parent's client coordinates.
RECT ChildRect(HWND control);
SIZE ClientSize(HWND window);
// Control ids of the window's children, from the top of the z-order down.
std::vector<int> ChildIdsTopDown(HWND window);
int ProgressLow(HWND progress);
int ProgressHigh(HWND progress);
int ProgressPos(HWND progress);

// Sends BM_CLICK and returns once the click handler has returned; the
// elapsed time in milliseconds goes to *elapsedMs. False when the program
// did not answer within the timeout.
bool ClickAndTime(HWND button, DWORD timeoutMs, double* elapsedMs);
// Round trip through the window's message queue: returns once everything
// sent or posted before it has been handled.
void SyncWithWindow(HWND window);

double MillisecondsBetween(LONGLONG from, LONGLONG to);
LONGLONG PerformanceNow();
std::string FormatRect(const RECT& rect);
