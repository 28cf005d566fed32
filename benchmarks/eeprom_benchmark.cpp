// The program's own cost of a complete check and a complete update, against
// an in-memory driver and with the 10 ms pause stubbed out: the median of
// five rounds, each as many runs as last at least a tenth of a second.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
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

// Sinks that keep what they are told where the optimiser must assume it is read.
volatile int g_lastPosition = 0;
volatile const char* g_lastText = nullptr;
struct NullProgress : IProgressSink {
  void SetProgressPosition(int position) override { g_lastPosition = position; }
};
struct NullLine : IResultLine {
  void Show() override {}
  void SetText(const char* text) override { g_lastText = text; }
};
struct NoPause : IPause {
  void Pause(DWORD) override {}
};

template <typename Run>
double MedianMicroseconds(Run run) {
  using Clock = std::chrono::steady_clock;
  const auto timeRuns = [&run](long runs) {
    const Clock::time_point start = Clock::now();
    for (long i = 0; i < runs; ++i) run();
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
  };
  long runs = 1;
  while (timeRuns(runs) < 100000.0) runs *= 2;
  std::array<double, 5> rounds{};
  for (double& round : rounds) round = timeRuns(runs) / static_cast<double>(runs);
  std::sort(rounds.begin(), rounds.end());
  return rounds[rounds.size() / 2];
}

void Report(const char* what, double microseconds, unsigned requests) {
  std::printf("%-16s %8.2f us a run, %6.1f ns a request (%u requests)\n", what, microseconds,
              1000.0 * microseconds / requests, requests);
}

}  // namespace

int main() {
  MemoryDriver board;
  std::copy(g_EepromImage, g_EepromImage + EEPROM_SIZE, board.eeprom.begin());
  NullProgress progress;
  NullLine line;
  NoPause pause;
  Report("complete check", MedianMicroseconds([&] { RunEepromCheck(&board, progress, line); }),
         EEPROM_SIZE);
  Report("complete update",
         MedianMicroseconds([&] { RunEepromUpdate(&board, progress, line, pause); }),
         EEPROM_SIZE / EEPROM_BLOCK_SIZE);
  return 0;
}
