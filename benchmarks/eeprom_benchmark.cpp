// The program's own cost of a complete check and a complete update, against
// an in-memory driver and with the 10 ms pause stubbed out.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "eeprom_image.h"
#include "eeprom_procedures.h"
#include "fake_eeprom_driver.h"

namespace {

struct NullProgress : IProgressSink {
  void SetProgressPosition(int position) override { benchmark::DoNotOptimize(position); }
};
struct NullLine : IResultLine {
  void Show() override {}
  void SetText(const char* text) override { benchmark::DoNotOptimize(text); }
};
struct NoPause : IPause {
  void Pause(DWORD) override {}
};

void ReportPerRequest(benchmark::State& state, int requestsPerRun) {
  state.counters["requests"] = requestsPerRun;
  state.counters["per_request"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * requestsPerRun,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_CompleteCheck(benchmark::State& state) {
  FakeEepromDriver board;
  std::copy(g_EepromImage, g_EepromImage + EEPROM_SIZE, board.eeprom.begin());
  NullProgress progress;
  NullLine line;
  for (auto _ : state) {
    benchmark::DoNotOptimize(RunEepromCheck(&board, progress, line));
    board.log.clear();
  }
  ReportPerRequest(state, EEPROM_SIZE);
}
BENCHMARK(BM_CompleteCheck);

void BM_CompleteUpdate(benchmark::State& state) {
  FakeEepromDriver board;
  NullProgress progress;
  NullLine line;
  NoPause pause;
  for (auto _ : state) {
    benchmark::DoNotOptimize(RunEepromUpdate(&board, progress, line, pause));
    board.log.clear();
  }
  ReportPerRequest(state, EEPROM_SIZE / EEPROM_BLOCK_SIZE);
}
BENCHMARK(BM_CompleteUpdate);

}  // namespace

BENCHMARK_MAIN();
