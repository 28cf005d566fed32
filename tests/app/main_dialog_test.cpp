// Runs the real main dialog in-process on the test's thread and looks at it
// once it is on screen: geometry, texts, z-order, font, progress range,
// system menu, the About box and the way it ends. Needs a display; without
// one the window cannot be created and the test is skipped.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <string>
#include <vector>

#include "lumiq_dlg.h"
#include "main_dialog_layout.h"
#include "point_font.h"
#include "resource.h"

namespace {

const UINT WM_OBSERVE = WM_APP + 1;

struct AboutObservation {
  bool seen = false;
  std::string caption;
  HWND owner = nullptr;
  RECT rect = {};
  bool ownerEnabled = true;
};

struct Observation {
  bool visible = false;
  RECT client = {};
  RECT window = {};
  RECT workArea = {};
  std::vector<int> zOrderFromTop;
  std::string texts[2];
  bool resultLinesVisible[2] = {true, true};
  RECT controls[5] = {};
  LOGFONTA buttonFont = {};
  int dpi = 0;
  LRESULT rangeLow = -1;
  LRESULT rangeHigh = -1;
  LRESULT position = -1;
  HICON bigIcon = nullptr;
  HICON dragIcon = nullptr;
  std::string lastMenuText;
  UINT lastMenuId = 0;
  bool separatorBeforeIt = false;
  bool hadDeviceGraph = false;
  bool resultLinesVisibleAfterClicks[2] = {true, true};
  LRESULT positionAfterClicks = -1;
  AboutObservation about;
  bool enabledAfterAbout = false;
};

AboutObservation* g_about = nullptr;
HWND g_mainWindow = nullptr;

// Sees the About box become active, notes where it stands and closes it
// the way Escape does.
LRESULT CALLBACK WatchAboutBox(int code, WPARAM wParam, LPARAM lParam) {
  const HWND window = reinterpret_cast<HWND>(wParam);
  if (code == HCBT_ACTIVATE && window != g_mainWindow && g_about != nullptr && !g_about->seen) {
    g_about->seen = true;
    char caption[64] = "";
    GetWindowTextA(window, caption, sizeof(caption));
    g_about->caption = caption;
    g_about->owner = GetWindow(window, GW_OWNER);
    GetWindowRect(window, &g_about->rect);
    g_about->ownerEnabled = IsWindowEnabled(g_mainWindow) != FALSE;
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string TextOf(HWND window) {
  char text[128] = "";
  GetWindowTextA(window, text, sizeof(text));
  return text;
}

class ObservedMainDialog : public CLumiqDlg {
 public:
  ObservedMainDialog() : CLumiqDlg(nullptr) {}
  Observation seen;

 protected:
  BOOL OnInitDialog() override {
    const BOOL result = CLumiqDlg::OnInitDialog();
    // Arrives once the modal loop runs, after the window has been shown.
    PostMessageA(m_hWnd, WM_OBSERVE, 0, 0);
    return result;
  }

  bool ProcessMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override {
    if (message != WM_OBSERVE) return CLumiqDlg::ProcessMessage(message, wParam, lParam, result);
    ObserveLayout();
    ObserveSystemMenu();
    ClickButtons();
    OpenAboutBox();
    PostMessageA(m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
  }

 private:
  void ObserveLayout() {
    seen.visible = IsWindowVisible(m_hWnd) != FALSE;
    GetClientRect(m_hWnd, &seen.client);
    GetWindowRect(m_hWnd, &seen.window);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &seen.workArea, 0);
    for (HWND child = GetWindow(m_hWnd, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
      seen.zOrderFromTop.push_back(GetDlgCtrlID(child));
    }
    seen.texts[0] = TextOf(GetDlgItem(m_hWnd, IDC_CHECK_EEPROM));
    seen.texts[1] = TextOf(GetDlgItem(m_hWnd, IDC_UPDATE_EEPROM));
    seen.resultLinesVisible[0] = IsWindowVisible(GetDlgItem(m_hWnd, IDC_CHECK_RESULT)) != FALSE;
    seen.resultLinesVisible[1] = IsWindowVisible(GetDlgItem(m_hWnd, IDC_UPDATE_RESULT)) != FALSE;
    for (int i = 0; i < 5; ++i) {
      const HWND control = GetDlgItem(m_hWnd, MAIN_DIALOG_LAYOUT[i].id);
      GetWindowRect(control, &seen.controls[i]);
      MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&seen.controls[i]), 2);
    }
    const auto font =
        reinterpret_cast<HFONT>(SendDlgItemMessageA(m_hWnd, IDC_CHECK_EEPROM, WM_GETFONT, 0, 0));
    GetObjectA(font, sizeof(seen.buttonFont), &seen.buttonFont);
    const HDC screen = GetDC(nullptr);
    seen.dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    seen.rangeLow = SendDlgItemMessageA(m_hWnd, IDC_PROGRESS, PBM_GETRANGE, TRUE, 0);
    seen.rangeHigh = SendDlgItemMessageA(m_hWnd, IDC_PROGRESS, PBM_GETRANGE, FALSE, 0);
    seen.position = SendDlgItemMessageA(m_hWnd, IDC_PROGRESS, PBM_GETPOS, 0, 0);
    seen.bigIcon = reinterpret_cast<HICON>(SendMessageA(m_hWnd, WM_GETICON, ICON_BIG, 0));
    seen.dragIcon = reinterpret_cast<HICON>(SendMessageA(m_hWnd, WM_QUERYDRAGICON, 0, 0));
  }

  void ObserveSystemMenu() {
    const HMENU menu = GetSystemMenu(m_hWnd, FALSE);
    const int count = GetMenuItemCount(menu);
    if (count < 2) return;
    char text[64] = "";
    GetMenuStringA(menu, static_cast<UINT>(count - 1), text, sizeof(text), MF_BYPOSITION);
    seen.lastMenuText = text;
    seen.lastMenuId = GetMenuItemID(menu, count - 1);
    seen.separatorBeforeIt =
        (GetMenuState(menu, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR) != 0;
  }

  void ClickButtons() {
    seen.hadDeviceGraph = m_pDigitalGraph != nullptr;
    if (seen.hadDeviceGraph) return;  // a board would answer: not this test's business
    SendDlgItemMessageA(m_hWnd, IDC_CHECK_EEPROM, BM_CLICK, 0, 0);
    SendDlgItemMessageA(m_hWnd, IDC_UPDATE_EEPROM, BM_CLICK, 0, 0);
    seen.resultLinesVisibleAfterClicks[0] =
        IsWindowVisible(GetDlgItem(m_hWnd, IDC_CHECK_RESULT)) != FALSE;
    seen.resultLinesVisibleAfterClicks[1] =
        IsWindowVisible(GetDlgItem(m_hWnd, IDC_UPDATE_RESULT)) != FALSE;
    seen.positionAfterClicks = SendDlgItemMessageA(m_hWnd, IDC_PROGRESS, PBM_GETPOS, 0, 0);
  }

  void OpenAboutBox() {
    g_about = &seen.about;
    g_mainWindow = m_hWnd;
    const HHOOK hook = SetWindowsHookExA(WH_CBT, &WatchAboutBox, nullptr, GetCurrentThreadId());
    // The low four bits of a system command are the system's own.
    SendMessageA(m_hWnd, WM_SYSCOMMAND, IDM_ABOUTBOX | 0x3, 0);
    UnhookWindowsHookEx(hook);
    g_about = nullptr;
    seen.enabledAfterAbout = IsWindowEnabled(m_hWnd) != FALSE;
  }
};

LONG Width(const RECT& r) { return r.right - r.left; }
LONG Height(const RECT& r) { return r.bottom - r.top; }

class MainDialog : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    ObservedMainDialog dialog;
    result = dialog.DoModal();
    seen = dialog.seen;
  }
  void SetUp() override {
    if (result == -1) GTEST_SKIP() << "no display: the dialog window cannot be created";
  }

  static INT_PTR result;
  static Observation seen;
};

INT_PTR MainDialog::result = 0;
Observation MainDialog::seen;

TEST_F(MainDialog, EndsAsCancelFromTheSystemMenusClose) { EXPECT_EQ(result, IDCANCEL); }

TEST_F(MainDialog, UninitialisesComWhenItEnds) {
  EXPECT_EQ(CoInitialize(nullptr), S_OK) << "an apartment was left open";
  CoUninitialize();
}

TEST_F(MainDialog, ClientAreaIs500By210AndTheWindowIsCentredInTheWorkArea) {
  EXPECT_TRUE(seen.visible);
  EXPECT_EQ(seen.client.right, MAIN_CLIENT_WIDTH);
  EXPECT_EQ(seen.client.bottom, MAIN_CLIENT_HEIGHT);
  const LONG centreX = (seen.window.left + seen.window.right) / 2;
  const LONG centreY = (seen.window.top + seen.window.bottom) / 2;
  EXPECT_NEAR(centreX, (seen.workArea.left + seen.workArea.right) / 2, 1);
  EXPECT_NEAR(centreY, (seen.workArea.top + seen.workArea.bottom) / 2, 1);
}

TEST_F(MainDialog, ControlsStandAtTheLayoutRectangles) {
  for (int i = 0; i < 5; ++i) {
    const ControlPlacement& placement = MAIN_DIALOG_LAYOUT[i];
    SCOPED_TRACE(placement.id);
    EXPECT_EQ(seen.controls[i].left, placement.x);
    EXPECT_EQ(seen.controls[i].top, placement.y);
    EXPECT_EQ(Width(seen.controls[i]), placement.width);
    EXPECT_EQ(Height(seen.controls[i]), placement.height);
  }
}

TEST_F(MainDialog, ButtonsReadTheirActionsAndResultLinesAreHidden) {
  EXPECT_EQ(seen.texts[0], "Check EEPROM");
  EXPECT_EQ(seen.texts[1], "Update EEPROM");
  EXPECT_FALSE(seen.resultLinesVisible[0]);
  EXPECT_FALSE(seen.resultLinesVisible[1]);
}

TEST_F(MainDialog, EachLaidOutControlWentToTheTop) {
  const std::vector<int> expected = {IDC_PROGRESS, IDC_UPDATE_RESULT, IDC_CHECK_RESULT,
                                     IDC_UPDATE_EEPROM, IDC_CHECK_EEPROM};
  EXPECT_EQ(seen.zOrderFromTop, expected);
}

TEST_F(MainDialog, ButtonsUseTwelvePointArial) {
  EXPECT_STREQ(seen.buttonFont.lfFaceName, "Arial");
  EXPECT_EQ(seen.buttonFont.lfHeight, PointFontHeight(120, seen.dpi));
}

TEST_F(MainDialog, ProgressRunsFrom0To255AndStartsEmpty) {
  EXPECT_EQ(seen.rangeLow, 0);
  EXPECT_EQ(seen.rangeHigh, 255);
  EXPECT_EQ(seen.position, 0);
}

TEST_F(MainDialog, IconServesTheWindowAndDragging) {
  EXPECT_NE(seen.bigIcon, nullptr);
  EXPECT_EQ(seen.dragIcon, seen.bigIcon);
}

TEST_F(MainDialog, SystemMenuEndsWithSeparatorAndAboutEntry) {
  EXPECT_TRUE(seen.separatorBeforeIt);
  EXPECT_EQ(seen.lastMenuText, "&About Zerith...");
  EXPECT_EQ(seen.lastMenuId, static_cast<UINT>(IDM_ABOUTBOX));
}

TEST_F(MainDialog, ButtonsDoNothingWithoutABoard) {
  if (seen.hadDeviceGraph) GTEST_SKIP() << "a board is registered in this prefix";
  EXPECT_FALSE(seen.resultLinesVisibleAfterClicks[0]);
  EXPECT_FALSE(seen.resultLinesVisibleAfterClicks[1]);
  EXPECT_EQ(seen.positionAfterClicks, 0);
}

TEST_F(MainDialog, AboutBoxOpensCentredOverTheDisabledMainDialog) {
  const AboutObservation& about = seen.about;
  ASSERT_TRUE(about.seen);
  EXPECT_EQ(about.caption, "About Travune");
  EXPECT_EQ(about.owner, g_mainWindow);
  EXPECT_FALSE(about.ownerEnabled);
  EXPECT_NEAR((about.rect.left + about.rect.right) / 2, (seen.window.left + seen.window.right) / 2,
              1);
  EXPECT_NEAR((about.rect.top + about.rect.bottom) / 2, (seen.window.top + seen.window.bottom) / 2,
              1);
  EXPECT_TRUE(seen.enabledAfterAbout);
}

TEST(PointFont, TwelvePointsAreSixteenPixelsAt96DotsPerInch) {
  EXPECT_EQ(PointFontHeight(120, 96), -16);
  EXPECT_EQ(PointFontHeight(120, 120), -20);
  EXPECT_EQ(PointFontHeight(120, 144), -24);
}

}  // namespace
