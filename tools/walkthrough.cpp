// Walks through Travune.exe as a person would, for machines without a
// display of their own: starts it, clicks Check EEPROM, Update EEPROM and
// Check EEPROM, prints each result line with its duration, saves a picture of
// the whole window in each state, and ends it with Escape. With --runs N it
// repeats start, check, update and Escape N times and prints the timings.
//
//   walkthrough <Travune.exe> <folder for the .bmp pictures>
//   walkthrough <Travune.exe> --runs N
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "resource.h"

namespace {

const char MAIN_CAPTION[] = "Travune ( EEPROM Update )";

double Now() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct Running {
  PROCESS_INFORMATION process = {};
  HWND window = nullptr;
  double startMs = 0;  // process start to main window visible
};

BOOL CALLBACK MatchMainWindow(HWND window, LPARAM parameter) {
  Running* app = reinterpret_cast<Running*>(parameter);
  DWORD owner = 0;
  char caption[64] = "";
  GetWindowThreadProcessId(window, &owner);
  GetWindowTextA(window, caption, sizeof(caption));
  if (owner != app->process.dwProcessId || !IsWindowVisible(window) ||
      std::strcmp(caption, MAIN_CAPTION) != 0)
    return TRUE;
  app->window = window;
  return FALSE;
}

bool Start(const char* exe, Running* app) {
  std::string commandLine = std::string("\"") + exe + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof(startup);
  const double start = Now();
  if (!CreateProcessA(exe, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &app->process)) {
    std::fprintf(stderr, "walkthrough: cannot start %s (error %lu)\n", exe, GetLastError());
    return false;
  }
  for (DWORD began = GetTickCount(); app->window == nullptr; Sleep(2)) {
    if (GetTickCount() - began > 30000) {
      std::fprintf(stderr, "walkthrough: no window \"%s\" within 30 s\n", MAIN_CAPTION);
      return false;
    }
    EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(app));
  }
  app->startMs = Now() - start;
  return true;
}

// Escape, as the dialog manager delivers it; true once the process ended.
bool End(Running* app) {
  if (app->window != nullptr) PostMessageA(app->window, WM_COMMAND, IDCANCEL, 0);
  const bool ended = WaitForSingleObject(app->process.hProcess, 20000) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(app->process.hProcess, 1);
  CloseHandle(app->process.hThread);
  CloseHandle(app->process.hProcess);
  return ended;
}

// BM_CLICK returns once the button's handler has returned: its duration.
double Click(HWND window, int button) {
  DWORD_PTR result = 0;
  const double start = Now();
  SendMessageTimeoutA(GetDlgItem(window, button), BM_CLICK, 0, 0, SMTO_NORMAL, 60000, &result);
  return Now() - start;
}

std::string Shown(HWND window, int line) {
  char text[256] = "(hidden)";
  if (IsWindowVisible(GetDlgItem(window, line))) GetDlgItemTextA(window, line, text, sizeof(text));
  return text;
}

// The window's whole rectangle, frame and title bar included, as a 24-bit BMP.
bool SavePicture(HWND window, const std::string& path) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
  Sleep(300);  // lets the program and the desktop repaint
  RECT area = {};
  GetWindowRect(window, &area);
  const int width = area.right - area.left, height = area.bottom - area.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ previous = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
  SelectObject(memory, previous);
  BITMAPINFOHEADER header = {sizeof(header), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  std::vector<BYTE> pixels(((width * 3 + 3) & ~3) * height);
  const int rows = GetDIBits(memory, bitmap, 0, height, pixels.data(),
                             reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER file = {0x4D42, 0, 0, 0, sizeof(file) + sizeof(header)};
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  FILE* out = std::fopen(path.c_str(), "wb");
  if (rows != height || out == nullptr) return false;
  std::fwrite(&file, sizeof(file), 1, out);
  std::fwrite(&header, sizeof(header), 1, out);
  std::fwrite(pixels.data(), pixels.size(), 1, out);
  return std::fclose(out) == 0;
}

int WalkThrough(const char* exe, const std::string& folder) {
  Running app;
  if (!Start(exe, &app)) return 1;
  std::printf("Travune.exe is up after %.0f ms\n", app.startMs);
  bool saved = SavePicture(app.window, folder + "\\walkthrough-1-start.bmp");
  const struct {
    int button, line;
    const char *label, *picture;
  } steps[] = {{IDC_CHECK_EEPROM, IDC_CHECK_RESULT, "Check EEPROM", "2-check"},
               {IDC_UPDATE_EEPROM, IDC_UPDATE_RESULT, "Update EEPROM", "3-update"},
               {IDC_CHECK_EEPROM, IDC_CHECK_RESULT, "Check EEPROM", "4-check"}};
  for (const auto& step : steps) {
    const double ms = Click(app.window, step.button);
    std::printf("%-14s -> %s   (%.0f ms)\n", step.label, Shown(app.window, step.line).c_str(), ms);
    std::fflush(stdout);
    saved = SavePicture(app.window, folder + "\\walkthrough-" + step.picture + ".bmp") && saved;
  }
  if (!saved)
    std::fprintf(stderr, "walkthrough: could not save every picture in %s\n", folder.c_str());
  return End(&app) && saved ? 0 : 1;
}

void PrintFigures(const char* name, std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  const double median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  std::printf("%-34s median %7.1f  min %7.1f  max %7.1f ms  (%zu runs)\n", name, median,
              values.front(), values.back(), n);
}

int Bench(const char* exe, int runs) {
  std::vector<double> startup, check, update;
  for (int run = 1; run <= runs; ++run) {
    Running app;
    if (!Start(exe, &app)) return 1;
    startup.push_back(app.startMs);
    check.push_back(Click(app.window, IDC_CHECK_EEPROM));
    update.push_back(Click(app.window, IDC_UPDATE_EEPROM));
    std::printf("run %d: start-up %.1f ms, check %.1f ms, update %.1f ms\n", run, app.startMs,
                check.back(), update.back());
    std::fflush(stdout);
    if (!End(&app)) return 1;
  }
  PrintFigures("process start to window visible", startup);
  PrintFigures("check (256 reads)", check);
  PrintFigures("update (64 blocks)", update);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[2], "--runs") == 0 && std::atoi(argv[3]) > 0)
    return Bench(argv[1], std::atoi(argv[3]));
  if (argc == 3 && argv[2][0] != '-') return WalkThrough(argv[1], argv[2]);
  std::fprintf(stderr,
               "usage: walkthrough <Travune.exe> <picture folder>\n"
               "       walkthrough <Travune.exe> --runs N\n");
  return 2;
}
