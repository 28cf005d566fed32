#include <cstdio>
#include <string>
#include <vector>

#include "app_window.h"
#include "scenarios.h"

namespace {

const char CHECK_OLD[] = "EEprom Is Old !! Pls Update !";
const char CHECK_NEW[] = "EEPROM Is New !!";
const char CHECK_READ_FAILED[] = "EEPROM Read Failed !!";
const char UPDATE_SUCCESS[] = "Update Success !!";
const char UPDATE_FAILED[] = "Update Failed !!";

// The image the program writes, as the board's log shows each block.
std::string ImageBlockHex(int offset) {
  static const unsigned char head[40] = {
      0x20, 0x00, 0x13, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x05, 0x00, 0x1d, 0x5e,
      0x6c, 0x2a, 0x50, 0x03, 0x05, 0x00, 0x04, 0x80, 0x00, 0x00, 0x0c, 0x03, 0x05, 0x80,
      0x0e, 0x01, 0x00, 0x00, 0x82, 0x01, 0x00, 0x22, 0x78, 0x00, 0x00, 0x00};
  std::string hex;
  for (int i = offset; i < offset + 4; ++i) {
    char digits[3];
    std::snprintf(digits, sizeof(digits), "%02x", i < 40 ? head[i] : 0xff);
    hex += digits;
  }
  return hex;
}

std::string Ms(double ms) {
  char text[32];
  std::snprintf(text, sizeof(text), "%.1f ms", ms);
  return text;
}

// A click on a button: how long its handler took and the board's log lines
// written meanwhile.
struct Clicked {
  double ms;
  std::vector<std::string> lines;
};

Clicked ClickLogged(Session& session, int button) {
  size_t mark = session.BoardMark();
  double ms = session.Click(button);
  return {ms, session.Board().LinesSince(mark)};
}

// Runs a check and verifies the text and the requests: 256 reads, offsets
// 0..255 in order, each after its support query.
void RunCheck(Session& session, CheckReport& report, const std::string& expected,
              const std::string& when) {
  Clicked check = ClickLogged(session, IDC_CHECK_EEPROM);
  report.Note("check " + when + " took " + Ms(check.ms));
  report.EqualText(expected, session.ResultLine(IDC_CHECK_RESULT), "check result " + when);
  report.Equal(0, ProgressPos(session.Control(IDC_PROGRESS)), "progress back at 0 " + when);
  std::vector<BoardRequest> reads = RequestsOf(check.lines, "Get");
  bool inOrder = reads.size() == 256;
  for (size_t i = 0; inOrder && i < reads.size(); ++i) {
    inOrder = reads[i].offset == static_cast<int>(i) && reads[i].property == 2;
  }
  report.Check(inOrder, "256 reads of offsets 0..255 in order " + when,
               std::to_string(reads.size()) + " reads");
  report.Equal(static_cast<size_t>(256), RequestsOf(check.lines, "QuerySupported").size(),
               "a support query before every read " + when);
}

}  // namespace

void ScenarioCheckUpdate(const Options& options, CheckReport& report) {
  Session session(options, report);
  if (!session.Start()) return;
  RunCheck(session, report, CHECK_OLD, "on a fresh board");
  report.EqualText("(hidden)", session.ResultLine(IDC_UPDATE_RESULT),
                   "update line still hidden after a check");
  session.Shot("check-old");

  Clicked update = ClickLogged(session, IDC_UPDATE_EEPROM);
  const double ms = update.ms;
  char ratio[32];
  std::snprintf(ratio, sizeof(ratio), "%.2f", ms / 640.0);
  report.Note("update took " + Ms(ms) + " (" + ratio + " x the 640 ms floor)");
  report.EqualText(UPDATE_SUCCESS, session.ResultLine(IDC_UPDATE_RESULT), "update result");
  report.EqualText(CHECK_OLD, session.ResultLine(IDC_CHECK_RESULT),
                   "the update leaves the check line alone");
  report.Equal(0, ProgressPos(session.Control(IDC_PROGRESS)), "progress back at 0 after update");
  std::vector<BoardRequest> writes = RequestsOf(update.lines, "Set");
  bool exact = writes.size() == 64;
  std::string seen = std::to_string(writes.size()) + " writes";
  for (size_t i = 0; exact && i < writes.size(); ++i) {
    const int offset = static_cast<int>(4 * i);
    exact = writes[i].offset == offset && writes[i].property == 0 && writes[i].result == "S_OK" &&
            writes[i].bytes == ImageBlockHex(offset);
    if (!exact)
      seen = "write " + std::to_string(i) + " at " + std::to_string(writes[i].offset) + " bytes " +
             writes[i].bytes + " result " + writes[i].result;
  }
  report.Check(exact, "exactly 64 writes at 0, 4, ..., 252 carrying the image, all accepted", seen);
  report.Equal(static_cast<size_t>(64), RequestsOf(update.lines, "QuerySupported").size(),
               "a support query before every write");
  report.Check(ms >= 640.0, "update takes at least 64 x 10 ms", Ms(ms));
  session.Shot("update-success");

  RunCheck(session, report, CHECK_NEW, "after the update");
  session.Shot("check-new");
  CheckEscapeEnds(session, report, true);
}

void ScenarioCheckAfterRestart(const Options& options, CheckReport& report) {
  Session session(options, report);
  if (!session.Start()) return;
  RunCheck(session, report, CHECK_NEW, "after a restart of the program");
  session.Shot("check-new-after-restart");
  CheckEscapeEnds(session, report, true);
}

void ScenarioReadRefused(const Options& options, CheckReport& report) {
  Session session(options, report);
  if (!session.Start()) return;
  Clicked check = ClickLogged(session, IDC_CHECK_EEPROM);
  report.EqualText(CHECK_READ_FAILED, session.ResultLine(IDC_CHECK_RESULT),
                   "check on a board refusing some reads");
  report.Equal(0, ProgressPos(session.Control(IDC_PROGRESS)), "progress back at 0");
  std::vector<BoardRequest> reads = RequestsOf(check.lines, "Get");
  int refused = 0;
  for (const BoardRequest& read : reads) refused += read.result != "S_OK" ? 1 : 0;
  report.Check(reads.size() == 256 && refused == 3,
               "all 256 offsets read, the 3 refused ones included",
               std::to_string(reads.size()) + " reads, " + std::to_string(refused) + " refused");
  session.Shot("check-read-failed");
  CheckEscapeEnds(session, report, true);
}

void ScenarioBlockRefusedOnce(const Options& options, CheckReport& report) {
  Session session(options, report);
  if (!session.Start()) return;
  Clicked update = ClickLogged(session, IDC_UPDATE_EEPROM);
  report.Note("update with one retry took " + Ms(update.ms));
  report.EqualText(UPDATE_SUCCESS, session.ResultLine(IDC_UPDATE_RESULT),
                   "update succeeds after one refusal");
  std::vector<BoardRequest> writes = RequestsOf(update.lines, "Set");
  std::string offsets;
  for (const BoardRequest& write : writes) offsets += std::to_string(write.offset) + " ";
  bool retried = writes.size() == 65 && writes[2].offset == 8 && writes[2].result != "S_OK" &&
                 writes[3].offset == 8 && writes[3].result == "S_OK" && writes[4].offset == 12;
  for (size_t i = 0; retried && i < writes.size(); ++i) {
    const int expected = static_cast<int>(i <= 2 ? 4 * i : 4 * (i - 1));
    retried = writes[i].offset == expected;
  }
  report.Check(retried,
               "block 8 sent twice in a row (refused, then accepted), no block 12 in between, "
               "65 writes in all",
               offsets.substr(0, 80));
  session.Shot("update-retried");
  CheckEscapeEnds(session, report, true);
}

void ScenarioBlockRefusedForever(const Options& options, CheckReport& report) {
  Session session(options, report);
  if (!session.Start()) return;
  Clicked update = ClickLogged(session, IDC_UPDATE_EEPROM);
  const double ms = update.ms;
  report.Note("update against a block refused for ever gave up after " + Ms(ms));
  report.EqualText(UPDATE_FAILED, session.ResultLine(IDC_UPDATE_RESULT),
                   "update fails on a block refused for ever");
  report.Check(ms > 0 && ms < 10000.0, "it gives up in about a second (< 10 s)", Ms(ms));
  report.Equal(0, ProgressPos(session.Control(IDC_PROGRESS)), "progress back at 0");
  std::vector<BoardRequest> writes = RequestsOf(update.lines, "Set");
  bool stuck = writes.size() > 3;
  for (size_t i = 2; stuck && i < writes.size(); ++i) {
    stuck = writes[i].offset == 8 && writes[i].result != "S_OK";
  }
  report.Check(stuck, "no block after 8 is written; block 8 is retried",
               std::to_string(writes.size()) + " writes");
  report.Note("block 8 attempts: " + std::to_string(writes.size() >= 2 ? writes.size() - 2 : 0));
  session.Shot("update-failed");
  CheckEscapeEnds(session, report, true);
}
