// The two button handlers: each runs its procedure to completion on the
// window's thread. Without a device graph they do nothing.
#include "eeprom_adapters.h"
#include "eeprom_procedures.h"
#include "lumiq_dlg.h"
#include "resource.h"

void CLumiqDlg::OnCheckEeprom() {
  if (m_pDigitalGraph == nullptr) return;
  CProgressPositionSink progress(m_progress);
  CDialogResultLine resultLine(m_hWnd, IDC_CHECK_RESULT);
  RunEepromCheck(m_pDigitalGraph->PropertySet(), progress, resultLine);
}

void CLumiqDlg::OnUpdateEeprom() {
  if (m_pDigitalGraph == nullptr) return;
  CProgressPositionSink progress(m_progress);
  CDialogResultLine resultLine(m_hWnd, IDC_UPDATE_RESULT);
  CFineTimerPause pause;
  RunEepromUpdate(m_pDigitalGraph->PropertySet(), progress, resultLine, pause);
}
