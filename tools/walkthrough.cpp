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
#include "travune_driver.h"

namespace {

double Now() {
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration<double, std::milli>(now).count();
}

// Process start to main window visible, in ms; negative when it failed.
double Start(CTravuneDriver& app, const char* exe) {
  const double start = Now();
  const std::string failure = app.Start(exe);
  if (failure.empty()) return Now() - start;
  std::fprintf(stderr, "walkthrough: %s\n", failure.c_str());
  return -1;
}

// The click's duration: BM_CLICK returns once the button's handler has.
double Click(const CTravuneDriver& app, int button) {
  const double start = Now();
  app.Click(button, 60000);
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
  CTravuneDriver app;
  const double startMs = Start(app, exe);
  if (startMs < 0) return 1;
  std::printf("Travune.exe is up after %.0f ms\n", startMs);
  bool saved = SavePicture(app.Window(), folder + "\\walkthrough-1-start.bmp");
  const struct {
    int button, line;
    const char *label, *picture;
  } steps[] = {{IDC_CHECK_EEPROM, IDC_CHECK_RESULT, "Check EEPROM", "2-check"},
               {IDC_UPDATE_EEPROM, IDC_UPDATE_RESULT, "Update EEPROM", "3-update"},
               {IDC_CHECK_EEPROM, IDC_CHECK_RESULT, "Check EEPROM", "4-check"}};
  for (const auto& step : steps) {
    const double ms = Click(app, step.button);
    std::printf("%-14s -> %s   (%.0f ms)\n", step.label, app.Shown(step.line).c_str(), ms);
    std::fflush(stdout);
    saved = SavePicture(app.Window(), folder + "\\walkthrough-" + step.picture + ".bmp") && saved;
  }
  if (!saved)
    std::fprintf(stderr, "walkthrough: could not save every picture in %s\n", folder.c_str());
  return app.Escape(20000) && saved ? 0 : 1;
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
    CTravuneDriver app;
    startup.push_back(Start(app, exe));
    if (startup.back() < 0) return 1;
    check.push_back(Click(app, IDC_CHECK_EEPROM));
    update.push_back(Click(app, IDC_UPDATE_EEPROM));
    std::printf("run %d: start-up %.1f ms, check %.1f ms, update %.1f ms\n", run, startup.back(),
                check.back(), update.back());
    std::fflush(stdout);
    if (!app.Escape(20000)) return 1;
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
