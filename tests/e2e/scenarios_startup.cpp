#include <cstdio>
#include <string>
#include <vector>

#include "app_window.h"
#include "scenarios.h"

namespace {

const char FOUND_RECEIVER[] = "CGraph::FindCaptureDevice() str Device string = ";
const char NO_RECEIVER[] =
    "CGraph::FindCaptureDevice() pDeviceEnum->CreateClassEnumerator() ERROR!!\n";
const char TUNER_FOUND[] = "CGraph::FindFilter( \"Travune Digital Tuner 1 (DVB-T)\" )\n";
const char TUNER_ADDED[] = "CGraph::AddFilter( \"Travune Digital Tuner 1 (DVB-T)\" )\n";
const char NO_TUNER[] = "CGraph::FindFilter( 3 ) ERROR!!\n";
const char TUNER_MISSING[] = "Davad Irudazevi Failed";
const char TUNER_REFUSED[] = "CGraph::AddFilter( 2 ) ERROR!!\n";

struct LayoutRow {
  int id;
  RECT rect;  // left, top, right, bottom in client pixels
};

const LayoutRow LAYOUT[] = {
    {IDC_CHECK_EEPROM, {10, 5, 180, 85}},   {IDC_UPDATE_EEPROM, {10, 90, 180, 170}},
    {IDC_CHECK_RESULT, {230, 35, 500, 55}}, {IDC_UPDATE_RESULT, {230, 120, 500, 140}},
    {IDC_PROGRESS, {10, 180, 490, 200}},
};

bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string JoinIds(const std::vector<int>& ids) {
  std::string text;
  for (int id : ids) text += (text.empty() ? "" : ",") + std::to_string(id);
  return text;
}

std::string JoinStrings(const std::vector<std::string>& strings) {
  std::string text;
  for (const std::string& s : strings) text += "\"" + Printable(s) + "\" ";
  return text;
}

void CheckButtonsChangeNothing(Session& session, CheckReport& report) {
  size_t mark = session.BoardMark();
  session.Click(IDC_CHECK_EEPROM);
  CheckUntouched(session, report, "after Check EEPROM");
  session.Click(IDC_UPDATE_EEPROM);
  CheckUntouched(session, report, "after Update EEPROM");
  std::vector<std::string> lines = session.Board().LinesSince(mark);
  report.Check(RequestsOf(lines, "Get").empty() && RequestsOf(lines, "Set").empty() &&
                   RequestsOf(lines, "QuerySupported").empty(),
               "the board receives no request", std::to_string(lines.size()) + " log lines");
}

}  // namespace

void CheckUntouched(Session& session, CheckReport& report, const std::string& when) {
  report.EqualText("(hidden)", session.ResultLine(IDC_CHECK_RESULT),
                   "check result line hidden " + when);
  report.EqualText("(hidden)", session.ResultLine(IDC_UPDATE_RESULT),
                   "update result line hidden " + when);
  HWND progress = session.Control(IDC_PROGRESS);
  report.Equal(0, ProgressPos(progress), "progress at 0 " + when);
}

void CheckEscapeEnds(Session& session, CheckReport& report, bool boardLoaded) {
  size_t mark = session.BoardMark();
  if (!report.Check(session.PressEscape(), "Escape ends the program")) return;
  if (!boardLoaded || !session.Board().Available()) return;
  std::vector<std::string> lines = session.Board().LinesSince(mark);
  int released = FindLine(lines, "FilterReleased");
  int detached = FindLine(lines, "DllDetach");
  report.Check(released >= 0, "the board's filter is finally released at teardown");
  report.Check(detached >= 0, "the board's DLL is unloaded at teardown");
  report.Check(released >= 0 && detached > released,
               "the filter is released before the DLL is unloaded (graph gone before COM)",
               "released at line " + std::to_string(released) + ", detached at line " +
                   std::to_string(detached));
}

void ScenarioStartup(const Options& options, CheckReport& report) {
  Session session(options, report);
  if (!session.Start()) return;
  char figure[64];
  std::snprintf(figure, sizeof(figure), "start-up to visible window: %.1f ms", session.StartupMs());
  report.Note(figure);
  HWND main = session.Main();
  SIZE client = ClientSize(main);
  report.Check(client.cx == 500 && client.cy == 210, "client area is 500 x 210",
               std::to_string(client.cx) + " x " + std::to_string(client.cy));
  report.Check(IsWindowEnabled(main) != FALSE, "main window enabled");

  RECT work = {};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  RECT frame = {};
  GetWindowRect(main, &frame);
  const long dx = (frame.left + frame.right) - (work.left + work.right);
  const long dy = (frame.top + frame.bottom) - (work.top + work.bottom);
  report.Check(dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2, "window centred in the work area",
               "window " + FormatRect(frame) + ", work area " + FormatRect(work));

  for (const LayoutRow& row : LAYOUT) {
    HWND control = session.Control(row.id);
    RECT actual = ChildRect(control);
    report.Check(SameRect(row.rect, actual),
                 "control " + std::to_string(row.id) + " at " + FormatRect(row.rect),
                 "at " + FormatRect(actual));
  }
  report.EqualText("Check EEPROM", WindowText(session.Control(IDC_CHECK_EEPROM)),
                   "check button text");
  report.EqualText("Update EEPROM", WindowText(session.Control(IDC_UPDATE_EEPROM)),
                   "update button text");
  report.Check(IsWindowVisible(session.Control(IDC_CHECK_EEPROM)) &&
                   IsWindowVisible(session.Control(IDC_UPDATE_EEPROM)) &&
                   IsWindowVisible(session.Control(IDC_PROGRESS)),
               "buttons and progress bar visible");
  CheckUntouched(session, report, "at start-up");
  HWND progress = session.Control(IDC_PROGRESS);
  report.Check(
      ProgressLow(progress) == 0 && ProgressHigh(progress) == 255, "progress range 0..255",
      std::to_string(ProgressLow(progress)) + ".." + std::to_string(ProgressHigh(progress)));
  const std::vector<int> order = ChildIdsTopDown(main);
  report.Check(order == std::vector<int>{1044, 1043, 1042, 1035, 1034},
               "z-order from the top 1044,1043,1042,1035,1034", JoinIds(order));

  const std::vector<std::string> strings = session.DebugStrings();
  report.Check(strings.size() == 3 && strings[0].rfind(FOUND_RECEIVER, 0) == 0 &&
                   strings[0].back() != '\n' && strings[1] == TUNER_FOUND &&
                   strings[2] == TUNER_ADDED,
               "debug output names the board, then finds and adds the tuner", JoinStrings(strings));
  session.Shot("startup");
  CheckEscapeEnds(session, report, true);
}

void ScenarioNoBoard(const Options& options, CheckReport& report) {
  Session session(options, report);
  if (!session.Start()) return;
  const std::vector<std::string> strings = session.DebugStrings();
  report.Check(strings == std::vector<std::string>{NO_RECEIVER},
               "debug output is the CreateClassEnumerator error line alone", JoinStrings(strings));
  CheckUntouched(session, report, "at start-up");
  CheckButtonsChangeNothing(session, report);
  session.Shot("no-board");
  CheckEscapeEnds(session, report, false);
}

void ScenarioWrongTuner(const Options& options, CheckReport& report) {
  Session session(options, report);
  if (!session.Start()) return;
  const std::vector<std::string> strings = session.DebugStrings();
  report.Check(strings.size() == 4 && strings[0].rfind(FOUND_RECEIVER, 0) == 0 &&
                   strings[1] == NO_TUNER && strings[2] == TUNER_MISSING &&
                   strings[3] == TUNER_REFUSED,
               "debug output: board found, then tuner not found, Davad Irudazevi Failed, "
               "filter refused",
               JoinStrings(strings));
  CheckUntouched(session, report, "at start-up");
  CheckButtonsChangeNothing(session, report);
  session.Shot("wrong-tuner");
  CheckEscapeEnds(session, report, false);
}
