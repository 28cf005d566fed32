// The real main dialog in-process, without a board: its looks, its About box,
// then an update against a board in memory with a themed progress bar.
#include <windows.h>
#include <commctrl.h>
#include <gmock/gmock.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "fake_eeprom_driver.h"
#include "lumiq_dlg.h"
#include "resource.h"

namespace {

using namespace ::testing;

const UINT WM_OBSERVE = WM_APP + 1;
const UINT_PTR ABOUT_BOX_SHOWN = 1;  // a timer

void ExpectCentredOver(HWND window, HWND owner) {  // no owner: the work area
  RECT inner, outer;
  GetWindowRect(window, &inner);
  owner ? GetWindowRect(owner, &outer) : SystemParametersInfoA(SPI_GETWORKAREA, 0, &outer, 0);
  EXPECT_NEAR((inner.left + inner.right) / 2, (outer.left + outer.right) / 2, 1);
  EXPECT_NEAR((inner.top + inner.bottom) / 2, (outer.top + outer.bottom) / 2, 1);
}

// A control's styles by name: a row applies when the bits under its mask equal
// its value. No edge: the progress bar sets its own, whatever its style asks.
const struct {
  const char* windowClass;  // null: any
  LONG mask, value;
  const char* name;
} STYLE_NAMES[] = {
    // Default or not: Windows moves the default look to the focused button.
    {WC_BUTTONA, BS_TYPEMASK & ~BS_DEFPUSHBUTTON, BS_PUSHBUTTON, "push-button"},
    {WC_BUTTONA, BS_TYPEMASK, BS_DEFPUSHBUTTON, "default"},
    {WC_STATICA, SS_TYPEMASK, SS_LEFT, "text"},
    {WC_STATICA, SS_TYPEMASK, SS_ICON, "icon"},
    {WC_STATICA, SS_NOPREFIX, SS_NOPREFIX, "no-prefix"},
    {PROGRESS_CLASSA, PBS_SMOOTH, PBS_SMOOTH, "smooth"},
    {nullptr, WS_TABSTOP, WS_TABSTOP, "tab-stop"},
    {nullptr, WS_DISABLED, WS_DISABLED, "disabled"},
};

// From the top of the stacking order.
const std::vector<std::string> CONTROLS_FROM_TOP = {
    "1044 10,180 480x20 shown \"Progress1\" MS Sans Serif 8pt",
    "1043 230,120 270x20 hidden \"- SUCCESS !!! -\" Arial 12pt text",
    "1042 230,35 270x20 hidden \"- EEPROM IS OLD -\" Arial 12pt text",
    "1035 10,90 170x80 shown \"Update EEPROM\" Arial 12pt push-button tab-stop",
    "1034 10,5 170x80 shown \"Check EEPROM\" Arial 12pt push-button default tab-stop",
};

// "x,y WxH" in pixels for a place and size in dialog units, mapped as a template's.
std::string InPixels(HWND dialog, int x, int y, int width, int height) {
  RECT r = {x, y, width, height};
  MapDialogRect(dialog, &r);
  return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right) +
         "x" + std::to_string(r.bottom);
}

// A window's font as " <face> <points>pt", or nothing when it has none.
std::string FontOf(HWND window) {
  LOGFONTA font = {};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)), sizeof(font), &font);
  if (font.lfFaceName[0] == '\0') return "";
  const HDC screen = GetDC(nullptr);
  const int points = MulDiv(-font.lfHeight, 72, GetDeviceCaps(screen, LOGPIXELSY));
  ReleaseDC(nullptr, screen);
  return std::string(" ") + font.lfFaceName + " " + std::to_string(points) + "pt";
}

std::vector<std::string> ControlsFromTop(HWND dialog) {
  std::vector<std::string> lines;
  for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    char text[64] = "", windowClass[64] = "", line[160];
    GetWindowTextA(c, text, sizeof(text));
    if (SendMessageA(c, STM_GETICON, 0, 0) != 0) lstrcpynA(text, "(icon)", sizeof(text));
    GetClassNameA(c, windowClass, sizeof(windowClass));
    snprintf(line, sizeof(line), "%d %ld,%ld %ldx%ld %s \"%s\"", GetDlgCtrlID(c), r.left, r.top,
             r.right - r.left, r.bottom - r.top, IsWindowVisible(c) ? "shown" : "hidden", text);
    std::string styles;
    for (const auto& s : STYLE_NAMES)
      if ((!s.windowClass || lstrcmpiA(s.windowClass, windowClass) == 0) &&
          (GetWindowLongA(c, GWL_STYLE) & s.mask) == s.value)
        styles += std::string(" ") + s.name;
    lines.push_back(line + FontOf(c) + styles);
  }
  return lines;
}

// As the themed bar of common controls 6: a new position starts a timer, and
// only its tick, through the queue, moves what is drawn. (Wine's own bar
// paints at once inside PBM_SETPOS.)
struct CThemedBar {
  static inline WNDPROC s_original = nullptr;
  static inline int s_pending = 0;
  static inline bool s_animating = false;
  static inline std::vector<int> s_drawn;

  static LRESULT CALLBACK Proc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == PBM_SETPOS) {
      s_pending = static_cast<int>(wParam);
      if (!s_animating) s_animating = SetTimer(bar, 1, USER_TIMER_MINIMUM, nullptr) != 0;
    } else if (message == WM_TIMER) {
      KillTimer(bar, 1);
      s_animating = false;
      s_drawn.push_back(s_pending);
      return 0;
    }
    return CallWindowProcA(s_original, bar, message, wParam, lParam);
  }
};

// Posts a check click halfway through the update; that check's last read closes the dialog.
struct CBoardDuringRun : CFakeEepromDriver {
  HWND dialog = nullptr;
  std::vector<int> drawnBeforeLastWrite;

  HRESULT STDMETHODCALLTYPE Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength,
                                LPVOID data, DWORD length) override {
    const BYTE offset = static_cast<BYTE*>(data)[3];
    if (offset == 128) PostMessageA(dialog, WM_COMMAND, IDC_CHECK_EEPROM, 0);
    if (offset == 252) drawnBeforeLastWrite = CThemedBar::s_drawn;
    return CFakeEepromDriver::Set(set, id, instance, instanceLength, data, length);
  }
  HRESULT STDMETHODCALLTYPE Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength,
                                LPVOID data, DWORD length, DWORD* returned) override {
    if (static_cast<BYTE*>(data)[3] == 255) PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    return CFakeEepromDriver::Get(set, id, instance, instanceLength, data, length, returned);
  }
};

// A device graph that lends the board's property set and holds nothing.
struct CBoardGraph : CGraph {
  explicit CBoardGraph(IKsPropertySet* board) { m_pKsPropertySet = board; }
  void ReleaseAll() override {}
  int CreateGraph() override { return 1; }
};

struct CObservedMainDialog : CLumiqDlg {
  explicit CObservedMainDialog(CBoardDuringRun& board) : CLumiqDlg(nullptr), m_board(board) {}

  bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override {
    if (message == WM_SHOWWINDOW && wParam) PostMessageA(m_hWnd, WM_OBSERVE, 0, 0);  // once shown
    if (message == WM_OBSERVE) Observe();
    if (message == WM_TIMER && wParam == ABOUT_BOX_SHOWN) ObserveAboutBox();
    return message == WM_OBSERVE || message == WM_TIMER ||
           CLumiqDlg::ProcessMessage(message, wParam, lParam, result);
  }

  void Observe() {
    RECT client;
    GetClientRect(m_hWnd, &client);
    EXPECT_EQ(std::to_string(client.right) + "x" + std::to_string(client.bottom), "500x210");
    ExpectCentredOver(m_hWnd, nullptr);
    // A caption, system menu and sizing border; no minimize or maximize box.
    const LONG FRAME = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    EXPECT_EQ(GetWindowLongA(m_hWnd, GWL_STYLE) & FRAME, WS_CAPTION | WS_SYSMENU | WS_THICKFRAME);
    EXPECT_TRUE(GetWindowLongA(m_hWnd, GWL_EXSTYLE) & WS_EX_APPWINDOW) << "a taskbar button";
    EXPECT_EQ(ControlsFromTop(m_hWnd), CONTROLS_FROM_TOP);
    EXPECT_EQ(SendDlgItemMessageA(m_hWnd, 1044, PBM_GETRANGE, TRUE, 0), 0);
    EXPECT_EQ(SendDlgItemMessageA(m_hWnd, 1044, PBM_GETRANGE, FALSE, 0), 255);

    const LRESULT icon = SendMessageA(m_hWnd, WM_GETICON, ICON_BIG, 0);
    EXPECT_NE(icon, 0);
    EXPECT_EQ(SendMessageA(m_hWnd, WM_GETICON, ICON_SMALL, 0), icon);
    EXPECT_EQ(SendMessageA(m_hWnd, WM_QUERYDRAGICON, 0, 0), icon);

    const HMENU menu = GetSystemMenu(m_hWnd, FALSE);
    const UINT last = static_cast<UINT>(GetMenuItemCount(menu) - 1);
    char text[64] = "";
    GetMenuStringA(menu, last, text, sizeof(text), MF_BYPOSITION);
    EXPECT_STREQ(text, "&About Zerith...");
    EXPECT_EQ(GetMenuItemID(menu, static_cast<int>(last)), 0x0010u);
    EXPECT_EQ(GetMenuState(menu, last - 1, MF_BYPOSITION) & MF_SEPARATOR, UINT{MF_SEPARATOR});

    // Off the screen's centre first. The box shows once its loop's queue is
    // empty, where a timer's tick finds it; a system command's low 4 bits are ignored.
    SetWindowPos(m_hWnd, nullptr, 20, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    SetTimer(m_hWnd, ABOUT_BOX_SHOWN, USER_TIMER_MINIMUM, nullptr);
    SendMessageA(m_hWnd, WM_SYSCOMMAND, 0x0010 | 0x3, 0);
    EXPECT_FALSE(KillTimer(m_hWnd, ABOUT_BOX_SHOWN)) << "no About box was shown";
    EXPECT_TRUE(IsWindowEnabled(m_hWnd));

    // The board in memory and the themed bar, then an update.
    m_pDigitalGraph = new CBoardGraph(&m_board);
    m_board.dialog = m_hWnd;
    CThemedBar::s_original =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrA(GetDlgItem(m_hWnd, IDC_PROGRESS), GWLP_WNDPROC,
                                                    reinterpret_cast<LONG_PTR>(&CThemedBar::Proc)));
    PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_UPDATE_EEPROM, BN_CLICKED), 0);
  }

  void ObserveAboutBox() {
    const HWND about = FindWindowExA(nullptr, nullptr, WC_DIALOG, "About Travune");
    if (!IsWindowVisible(about)) return;  // the timer ticks again
    KillTimer(m_hWnd, ABOUT_BOX_SHOWN);
    EXPECT_EQ(GetWindow(about, GW_OWNER), m_hWnd);
    EXPECT_FALSE(IsWindowEnabled(m_hWnd));
    ExpectCentredOver(about, m_hWnd);
    EXPECT_EQ(FontOf(about), " MS Sans Serif 8pt");
    const LONG FRAME = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME;
    EXPECT_EQ(GetWindowLongA(about, GWL_STYLE) & FRAME, WS_CAPTION | WS_SYSMENU | DS_MODALFRAME);
    // Where the template puts them; the icon takes the system's icon size.
    RECT client;
    GetClientRect(about, &client);
    EXPECT_EQ("0,0 " + std::to_string(client.right) + "x" + std::to_string(client.bottom),
              InPixels(about, 0, 0, 235, 55));
    const std::string icon = InPixels(about, 11, 17, 0, 0);
    // The notice line's text is the implementer's.
    EXPECT_THAT(
        ControlsFromTop(about),
        ElementsAre("65535 " + icon.substr(0, icon.find(' ')) + " " +
                        std::to_string(GetSystemMetrics(SM_CXICON)) + "x" +
                        std::to_string(GetSystemMetrics(SM_CYICON)) + " shown \"(icon)\" icon",
                    "65535 " + InPixels(about, 40, 10, 119, 8) +
                        " shown \"Travune  Version 1.0\" MS Sans Serif 8pt text no-prefix",
                    AllOf(StartsWith("65535 " + InPixels(about, 40, 25, 119, 8) + " shown \""),
                          EndsWith("\" MS Sans Serif 8pt text")),
                    "1 " + InPixels(about, 178, 7, 50, 14) +
                        " shown \"OK\" MS Sans Serif 8pt push-button default tab-stop"));
    PostMessageA(about, WM_COMMAND, IDCANCEL, 0);  // as Escape does
  }

  CBoardDuringRun& m_board;
};

// COM set up in the other mode fails the dialog's CoInitialize: it runs all the same and leaves
// that COM open.
TEST(MainDialog, LooksRightOpensItsAboutBoxThenTheThemedBarFollowsAnUpdate) {
  InitCommonControls();  // the progress bar's class
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  CBoardDuringRun board;
  ASSERT_EQ(CObservedMainDialog(board).DoModal(), IDCANCEL) << "-1: is there a display?";
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE) << "COM was closed";
  CoUninitialize();
  CoUninitialize();

  const std::vector<int>& drawn = board.drawnBeforeLastWrite;
  ASSERT_FALSE(drawn.empty()) << "the bar drew nothing while the update ran";
  EXPECT_TRUE(std::is_sorted(drawn.begin(), drawn.end()));
  EXPECT_GE(drawn.back(), 248) << "the bar lags the update by more than a block";
  const size_t firstRead = board.log.find('G');
  ASSERT_NE(firstRead, std::string::npos) << "the posted click was lost";
  EXPECT_GT(firstRead, board.log.rfind('S')) << "the check started inside the update";
}

}  // namespace
