#include <cstdio>
#include <string>

#include "app_window.h"
#include "scenarios.h"

namespace {

const WPARAM ABOUT_COMMAND = 0x0010;

std::string Centre(const RECT& rect) {
  return std::to_string((rect.left + rect.right) / 2) + "," +
         std::to_string((rect.top + rect.bottom) / 2);
}

// Opens the About box with the given system command and checks it; the box,
// or null.
HWND OpenAbout(Session& session, CheckReport& report, WPARAM command) {
  char hex[16];
  std::snprintf(hex, sizeof(hex), "0x%04X", static_cast<unsigned>(command));
  PostMessageA(session.Main(), WM_SYSCOMMAND, command, 0);
  HWND about = WaitForProcessWindow(session.ProcessId(), ABOUT_CAPTION, 20000);
  if (!report.Check(about != nullptr,
                    std::string("system command ") + hex + " opens \"" + ABOUT_CAPTION + "\"")) {
    return nullptr;
  }
  RECT box = {};
  RECT main = {};
  GetWindowRect(about, &box);
  GetWindowRect(session.Main(), &main);
  const long dx = (box.left + box.right) - (main.left + main.right);
  const long dy = (box.top + box.bottom) - (main.top + main.bottom);
  report.Check(dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2, "About box centred over the main window",
               "about " + FormatRect(box) + " centre " + Centre(box) + ", main " +
                   FormatRect(main) + " centre " + Centre(main));
  report.Check(GetWindow(about, GW_OWNER) == session.Main(), "About box owned by the main window");
  report.Check(!IsWindowEnabled(session.Main()),
               "main window disabled while the About box is open");
  return about;
}

void CheckClosed(Session& session, CheckReport& report, HWND about, const std::string& how) {
  report.Check(WaitForWindowGone(about, 20000), how + " closes the About box");
  SyncWithWindow(session.Main());
  report.Check(IsWindowEnabled(session.Main()) != FALSE, "main window enabled again after " + how);
}

}  // namespace

void ScenarioAbout(const Options& options, CheckReport& report) {
  Session session(options, report);
  if (!session.Start()) return;

  HWND about = OpenAbout(session, report, ABOUT_COMMAND | 0x3);
  if (about == nullptr) return;
  session.ScreenShot("about");
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(GetDlgItem(about, IDOK), BM_CLICK, 0, 0, SMTO_NORMAL, 20000, &ignored);
  CheckClosed(session, report, about, "OK");

  about = OpenAbout(session, report, ABOUT_COMMAND);
  if (about == nullptr) return;
  PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
  CheckClosed(session, report, about, "Escape");

  about = OpenAbout(session, report, ABOUT_COMMAND | 0xF);
  if (about == nullptr) return;
  PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
  CheckClosed(session, report, about, "Escape");

  CheckUntouched(session, report, "after the About box");
  CheckEscapeEnds(session, report, true);
}

// The system menu lives in the program's process and cannot be read from
// here; open it as Alt+Space does and keep a screenshot of it.
void ScenarioSystemMenu(const Options& options, CheckReport& report) {
  Session session(options, report);
  if (!session.Start()) return;
  PostMessageA(session.Main(), WM_SYSCOMMAND, SC_KEYMENU, ' ');
  HWND menu = nullptr;
  for (int i = 0; i < 200 && menu == nullptr; ++i) {
    HWND candidate = FindWindowA("#32768", nullptr);
    DWORD owner = 0;
    if (candidate != nullptr) GetWindowThreadProcessId(candidate, &owner);
    if (candidate != nullptr && owner == session.ProcessId() && IsWindowVisible(candidate)) {
      menu = candidate;
    } else {
      Sleep(50);
    }
  }
  report.Check(menu != nullptr, "Alt+Space opens the system menu");
  session.ScreenShot("system-menu");
  if (menu != nullptr) {
    // The first Escape closes the popup, the second leaves menu mode.
    for (int i = 0; i < 2; ++i) {
      PostMessageA(session.Main(), WM_KEYDOWN, VK_ESCAPE, 0);
      PostMessageA(session.Main(), WM_KEYUP, VK_ESCAPE, 0);
    }
    report.Check(WaitForWindowGone(menu, 10000), "Escape closes the system menu");
  }
  CheckEscapeEnds(session, report, true);
}
