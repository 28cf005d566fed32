// The end-to-end scenarios. Each runs Travune.exe one or more times against
// the board that scripts/e2e-test registered for it, and records its checks.
#pragma once

#include "check_report.h"
#include "session.h"

using Scenario = void (*)(const Options& options, CheckReport& report);

struct ScenarioEntry {
  const char* name;
  Scenario run;
  const char* summary;
};

// Start-up and the runs without a usable board.
void ScenarioStartup(const Options& options, CheckReport& report);
void ScenarioNoBoard(const Options& options, CheckReport& report);
void ScenarioWrongTuner(const Options& options, CheckReport& report);
// The EEPROM procedures against the simulated board.
void ScenarioCheckUpdate(const Options& options, CheckReport& report);
void ScenarioCheckAfterRestart(const Options& options, CheckReport& report);
void ScenarioReadRefused(const Options& options, CheckReport& report);
void ScenarioBlockRefusedOnce(const Options& options, CheckReport& report);
void ScenarioBlockRefusedForever(const Options& options, CheckReport& report);
// The system menu and the About box.
void ScenarioAbout(const Options& options, CheckReport& report);
void ScenarioSystemMenu(const Options& options, CheckReport& report);
// Not tests: the walkthrough for people without a display, and the timings.
void ScenarioWalkthrough(const Options& options, CheckReport& report);
void ScenarioBench(const Options& options, CheckReport& report);

const ScenarioEntry* FindScenario(const std::string& name);
void ListScenarios();

// Shared checks.
// Both result lines hidden and the bar at 0 of 0..255.
void CheckUntouched(Session& session, CheckReport& report, const std::string& when);
// The program ends on Escape, releasing the board's filter before the board's
// DLL is unloaded.
void CheckEscapeEnds(Session& session, CheckReport& report, bool boardLoaded);
