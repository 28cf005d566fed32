// Walks through Travune.exe as a person would: Check EEPROM, Update EEPROM,
// Check EEPROM, each result line printed with its duration and the whole
// window saved as a BMP in each state, then Escape. With --runs N it times N
// rounds of start, check, update and Escape instead.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "resource.h"

namespace {

const char MAIN_CAPTION[] = "Travune ( EEPROM Update )";

double Now() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration<double, std::milli>(now).count();
}

struct Running {
  PROCESS_INFORMATION process = {};
  HWND window = nullptr;
  double startMs = 0;  // process start to main window visible
};

// Escape, as the dialog manager delivers it; true once the process ended.
bool End(Running* app) {
  if (app->window != nullptr) PostMessageA(app->window, WM_COMMAND, IDCANCEL, 0);
  const bool ended = WaitForSingleObject(app->process.hProcess, 20000) == WAIT_OBJECT_0;
  if (!ended) TerminateProcess(app->process.hProcess, 1);
  CloseHandle(app->process.hThread);
  CloseHandle(app->process.hProcess);
  return ended;
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
  for (DWORD owner = 0; owner != app->process.dwProcessId; Sleep(2)) {
    if (Now() - start > 30000) {
      std::fprintf(stderr, "walkthrough: no window \"%s\" within 30 s\n", MAIN_CAPTION);
      TerminateProcess(app->process.hProcess, 1);
      return false;
    }
    app->window = FindWindowA(nullptr, MAIN_CAPTION);
    if (IsWindowVisible(app->window)) GetWindowThreadProcessId(app->window, &owner);
  }
  app->startMs = Now() - start;
  return true;
}

// BM_CLICK returns once the button's handler has returned: its duration.
double Click(HWND window, int button) {
  DWORD_PTR result = 0;
  const double start = Now();
  SendMessageTimeoutA(GetDlgItem(window, button), BM_CLICK, 0, 0, SMTO_NORMAL, 60000, &result);
  return Now() - start;
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
  const size_t rowBytes = (static_cast<size_t>(width) * 3 + 3) & ~static_cast<size_t>(3);
  std::vector<BYTE> pixels(rowBytes * static_cast<size_t>(height));
  const int rows = GetDIBits(memory, bitmap, 0, height, pixels.data(),
                             reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER file = {0x4D42, 0, 0, 0, sizeof(file) + sizeof(header)};
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof(file));
  out.write(reinterpret_cast<const char*>(&header), sizeof(header));
  out.write(reinterpret_cast<const char*>(pixels.data()),
            static_cast<std::streamsize>(pixels.size()));
  return rows == height && out.good();
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
    char shown[256] = "(hidden)";
    if (IsWindowVisible(GetDlgItem(app.window, step.line)))
      GetWindowTextA(GetDlgItem(app.window, step.line), shown, sizeof(shown));
    std::printf("%-14s -> %s   (%.0f ms)\n", step.label, shown, ms);
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
  std::fprintf(stderr, "usage: walkthrough <Travune.exe> <picture folder> | --runs N\n");
  return 2;
}
