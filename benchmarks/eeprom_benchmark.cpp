// The program's own cost of a complete check and a complete update, against
// an in-memory driver and with the 10 ms pause stubbed out.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "eeprom_image.h"
#include "eeprom_procedures.h"

namespace {

// A driver that answers every request at once from a 256-byte array.
struct MemoryDriver : IKsPropertySet {
  std::array<BYTE, EEPROM_SIZE> eeprom{};
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }
  HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID, DWORD id, DWORD* support) override {
    *support = id == EEPROM_PROPERTY_READ ? KSPROPERTY_SUPPORT_GET : KSPROPERTY_SUPPORT_SET;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Get(REFGUID, DWORD, LPVOID, DWORD, LPVOID data, DWORD,
                                DWORD* returned) override {
    auto* request = static_cast<EEPROM_READ_REQUEST*>(data);
    request->ReadData[0] = eeprom[request->WriteData[0]];
    *returned = sizeof(*request);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID data, DWORD) override {
    const auto* request = static_cast<const EEPROM_WRITE_REQUEST*>(data);
    std::memcpy(&eeprom[request->WriteData[0]], &request->WriteData[1], EEPROM_BLOCK_SIZE);
    return S_OK;
  }
};

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
  MemoryDriver board;
  std::copy(g_EepromImage, g_EepromImage + EEPROM_SIZE, board.eeprom.begin());
  NullProgress progress;
  NullLine line;
  for (auto _ : state) {
    RunEepromCheck(&board, progress, line);
  }
  ReportPerRequest(state, EEPROM_SIZE);
}
BENCHMARK(BM_CompleteCheck);

void BM_CompleteUpdate(benchmark::State& state) {
  MemoryDriver board;
  NullProgress progress;
  NullLine line;
  NoPause pause;
  for (auto _ : state) {
    RunEepromUpdate(&board, progress, line, pause);
  }
  ReportPerRequest(state, EEPROM_SIZE / EEPROM_BLOCK_SIZE);
}
BENCHMARK(BM_CompleteUpdate);

}  // namespace

BENCHMARK_MAIN();
