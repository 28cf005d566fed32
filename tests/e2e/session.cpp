#include "session.h"

#include "app_window.h"
#include "screenshot.h"

namespace {
const DWORD WINDOW_TIMEOUT_MS = 60000;
const DWORD CLICK_TIMEOUT_MS = 120000;
}  // namespace

Session::Session(const Options& options, CheckReport& report)
    : options_(options), report_(report) {}

Session::~Session() {
  if (process_.Id() != 0 && !process_.HasExited()) {
    process_.Kill();
    process_.WaitForExit(10000);
  }
}

bool Session::Start() {
  std::string error;
  if (!report_.Check(process_.Start(options_.program, &error), "Travune.exe starts", error)) {
    return false;
  }
  main_ = WaitForProcessWindow(process_.Id(), MAIN_CAPTION, WINDOW_TIMEOUT_MS);
  startupMs_ = MillisecondsBetween(process_.StartedAt(), PerformanceNow());
  return report_.Check(main_ != nullptr,
                       std::string("main window \"") + MAIN_CAPTION + "\" becomes visible",
                       "not seen within 60 s");
}

double Session::Click(int id) {
  double elapsed = 0;
  bool answered = ClickAndTime(Control(id), CLICK_TIMEOUT_MS, &elapsed);
  if (!report_.Check(answered, "click on " + std::to_string(id) + " returns", "no answer")) {
    return -1;
  }
  return elapsed;
}

std::string Session::ResultLine(int id) const {
  HWND line = Control(id);
  if (!IsWindowVisible(line)) return "(hidden)";
  return WindowText(line);
}

void Session::LetPaint() {
  SyncWithWindow(main_);
  Sleep(300);
  SyncWithWindow(main_);
}

void Session::Shot(const std::string& name) {
  if (options_.shotsDir.empty()) return;
  LetPaint();
  std::string path = options_.shotsDir + "\\" + name + ".bmp";
  if (!SaveClientShot(main_, path)) report_.Note("could not save screenshot " + path);
}

void Session::ScreenShot(const std::string& name) {
  if (options_.shotsDir.empty()) return;
  LetPaint();
  std::string path = options_.shotsDir + "\\" + name + ".bmp";
  if (!SaveScreenShot(path)) report_.Note("could not save screenshot " + path);
}

bool Session::PressEscape(DWORD timeoutMs) {
  PostMessageA(main_, WM_COMMAND, IDCANCEL, 0);
  return process_.WaitForExit(timeoutMs);
}
