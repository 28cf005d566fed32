// travune-e2e: drives Travune.exe from outside through one scenario.
//   travune-e2e <scenario> --program <Travune.exe> [--shots <folder>] [--runs N] [--quiet]
// Exit code 0 when every check passed, 1 on a failed check, 2 on bad usage.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "scenarios.h"

namespace {

const ScenarioEntry SCENARIOS[] = {
    {"startup", ScenarioStartup, "window, layout, texts, z-order, progress at start-up"},
    {"no-board", ScenarioNoBoard, "no board registered: error line, buttons do nothing"},
    {"wrong-tuner", ScenarioWrongTuner, "tuner name not matching: three lines, buttons do nothing"},
    {"check-update", ScenarioCheckUpdate, "check old, update 64 blocks, check new, teardown"},
    {"restart", ScenarioCheckAfterRestart, "the board keeps its contents across runs"},
    {"read-refused", ScenarioReadRefused, "some reads refused: EEPROM Read Failed"},
    {"block-once", ScenarioBlockRefusedOnce, "a block refused once is retried"},
    {"block-forever", ScenarioBlockRefusedForever, "a block refused for ever: Update Failed"},
    {"about", ScenarioAbout, "About box from the system command family 0x0010"},
    {"system-menu", ScenarioSystemMenu, "system menu screenshot"},
    {"walkthrough", ScenarioWalkthrough, "check, update, check, printing each result line"},
    {"bench", ScenarioBench, "start-up, check and update timings"},
};

int Usage() {
  std::fprintf(stderr,
               "usage: travune-e2e <scenario> --program <Travune.exe> [--shots <folder>] "
               "[--runs N] [--quiet]\nscenarios:\n");
  ListScenarios();
  return 2;
}

}  // namespace

const ScenarioEntry* FindScenario(const std::string& name) {
  for (const ScenarioEntry& entry : SCENARIOS) {
    if (name == entry.name) return &entry;
  }
  return nullptr;
}

void ListScenarios() {
  for (const ScenarioEntry& entry : SCENARIOS) {
    std::fprintf(stderr, "  %-14s %s\n", entry.name, entry.summary);
  }
}

int main(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const bool hasValue = i + 1 < argc;
    if (std::strcmp(argv[i], "--program") == 0 && hasValue) {
      options.program = argv[++i];
    } else if (std::strcmp(argv[i], "--shots") == 0 && hasValue) {
      options.shotsDir = argv[++i];
    } else if (std::strcmp(argv[i], "--runs") == 0 && hasValue) {
      options.runs = std::atoi(argv[++i]);
    } else if (std::strcmp(argv[i], "--quiet") == 0) {
      options.quiet = true;
    } else if (argv[i][0] != '-' && options.scenario.empty()) {
      options.scenario = argv[i];
    } else {
      return Usage();
    }
  }
  const ScenarioEntry* scenario = FindScenario(options.scenario);
  if (scenario == nullptr || options.program.empty() || options.runs < 1) return Usage();

  if (!options.quiet) {
    std::printf("== %s: %s\n", scenario->name, scenario->summary);
    std::fflush(stdout);
  }
  CheckReport report(options.quiet);
  scenario->run(options, report);
  if (!options.quiet || report.Failures() != 0) {
    std::printf("== %s: %d check(s), %d failed\n", scenario->name, report.Checks(),
                report.Failures());
  }
  return report.Failures() == 0 ? 0 : 1;
}
