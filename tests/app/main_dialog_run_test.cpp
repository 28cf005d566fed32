// The real main dialog during an update, in-process, with a board in memory
// and a progress bar that behaves like the themed one of common controls 6:
// it draws a new position only when its own queued messages are dispatched.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "fake_eeprom_driver.h"
#include "lumiq_dlg.h"
#include "resource.h"

namespace {

// A new position starts the animation's timer unless it runs already, and
// only its tick, which comes through the queue, moves what is drawn. (Wine's
// own bar paints at once inside PBM_SETPOS.)
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
      if (s_drawn.empty() || s_drawn.back() != s_pending) s_drawn.push_back(s_pending);
      return 0;
    }
    return CallWindowProcA(s_original, bar, message, wParam, lParam);
  }
};

const WPARAM CHECK_CLICK = MAKEWPARAM(IDC_CHECK_EEPROM, BN_CLICKED);

// Halfway through the update a click on "Check EEPROM" is posted; the last
// read of that check ends the dialog.
struct CBoardDuringRun : CFakeEepromDriver {
  HWND dialog = nullptr;
  std::vector<int> drawnBeforeLastWrite;

  HRESULT STDMETHODCALLTYPE Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength,
                                LPVOID data, DWORD length) override {
    const BYTE offset = static_cast<BYTE*>(data)[3];
    if (offset == 128) PostMessageA(dialog, WM_COMMAND, CHECK_CLICK, 0);
    if (offset == 252) drawnBeforeLastWrite = CThemedBar::s_drawn;
    return CFakeEepromDriver::Set(set, id, instance, instanceLength, data, length);
  }
  HRESULT STDMETHODCALLTYPE Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength,
                                LPVOID data, DWORD length, DWORD* returned) override {
    if (static_cast<BYTE*>(data)[3] == 255) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return CFakeEepromDriver::Get(set, id, instance, instanceLength, data, length, returned);
  }
};

// A device graph that lends the board's property set and holds nothing.
struct CBoardGraph : CGraph {
  explicit CBoardGraph(IKsPropertySet* board) { m_pKsPropertySet = board; }
  void ReleaseAll() override {}
  int CreateGraph() override { return 1; }
};

// Opens on the board in memory, with the themed bar, and starts an update.
struct CDialogWithBoard : CLumiqDlg {
  explicit CDialogWithBoard(CBoardDuringRun& board) : CLumiqDlg(nullptr), m_board(board) {}

  BOOL OnInitDialog() override {
    const BOOL result = CLumiqDlg::OnInitDialog();
    m_pDigitalGraph = new CBoardGraph(&m_board);
    m_board.dialog = m_hWnd;
    const HWND bar = GetDlgItem(m_hWnd, IDC_PROGRESS);
    CThemedBar::s_original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CThemedBar::Proc)));
    PostMessageA(m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_UPDATE_EEPROM, BN_CLICKED), 0);
    return result;
  }

  CBoardDuringRun& m_board;
};

// On a thread whose COM is set up in the other mode, which makes the dialog's
// CoInitialize fail: it runs all the same and leaves that COM open.
TEST(MainDialogRun, TheThemedBarFollowsTheUpdateAndAClickPostedMeanwhileWaitsForItsEnd) {
  InitCommonControls();
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  CBoardDuringRun board;
  ASSERT_EQ(CDialogWithBoard(board).DoModal(), IDCANCEL);
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
