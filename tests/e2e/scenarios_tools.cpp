#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app_window.h"
#include "scenarios.h"

namespace {

struct Figures {
  std::vector<double> values;
  void Add(double value) { values.push_back(value); }
  double Median() const {
    std::vector<double> sorted = values;
    std::sort(sorted.begin(), sorted.end());
    if (sorted.empty()) return 0;
    const size_t middle = sorted.size() / 2;
    return sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
  }
  double Min() const {
    return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
  }
  double Max() const {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
  }
};

void PrintFigures(const char* name, const Figures& figures, int decimals, const char* unit) {
  std::printf("%-34s median %8.*f  min %8.*f  max %8.*f %s  (%zu runs)\n", name, decimals,
              figures.Median(), decimals, figures.Min(), decimals, figures.Max(), unit,
              figures.values.size());
}

void Step(Session& session, CheckReport& report, int button, int line, const char* label,
          const char* shot) {
  double ms = session.Click(button);
  const std::string text = session.ResultLine(line);
  std::printf("%-14s -> %s   (%.0f ms)\n", label, text.c_str(), ms);
  std::fflush(stdout);
  report.Check(text != "(hidden)", std::string(label) + " shows its result line");
  session.Shot(shot);
}

}  // namespace

void ScenarioWalkthrough(const Options& options, CheckReport& report) {
  Session session(options, report);
  if (!session.Start()) return;
  std::printf("Travune.exe is up after %.0f ms\n", session.StartupMs());
  session.Shot("walkthrough-1-start");
  Step(session, report, IDC_CHECK_EEPROM, IDC_CHECK_RESULT, "Check EEPROM", "walkthrough-2-check");
  Step(session, report, IDC_UPDATE_EEPROM, IDC_UPDATE_RESULT, "Update EEPROM",
       "walkthrough-3-update");
  Step(session, report, IDC_CHECK_EEPROM, IDC_CHECK_RESULT, "Check EEPROM", "walkthrough-4-check");
  report.Check(session.PressEscape(), "Escape ends the program");
}

void ScenarioBench(const Options& options, CheckReport& report) {
  Figures startup, check, update;
  for (int run = 0; run < options.runs; ++run) {
    Session session(options, report);
    if (!session.Start()) return;
    startup.Add(session.StartupMs());
    check.Add(session.Click(IDC_CHECK_EEPROM));
    update.Add(session.Click(IDC_UPDATE_EEPROM));
    std::printf("run %d: start-up %.1f ms, check %.1f ms, update %.1f ms\n", run + 1,
                startup.values.back(), check.values.back(), update.values.back());
    std::fflush(stdout);
    if (!session.PressEscape()) return;
  }
  Figures ratio;
  for (double ms : update.values) ratio.Add(ms / 640.0);
  PrintFigures("process start to window visible", startup, 1, "ms");
  PrintFigures("check (256 reads)", check, 1, "ms");
  PrintFigures("update (64 blocks)", update, 1, "ms");
  PrintFigures("update / 640 ms floor", ratio, 2, "x");
}
