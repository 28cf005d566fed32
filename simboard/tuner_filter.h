// The board's tuner filter: a filter without pins that joins a graph and
// carries the driver's property-set interface with the EEPROM set.
#pragma once

#include <dshow.h>
#include <ks.h>
#include <windows.h>

#include <memory>
#include <mutex>

#include "simulated_eeprom.h"

HRESULT CreateTunerFilter(REFIID iid, void** object);

class TunerFilter final : public IBaseFilter, public IKsPropertySet {
 public:
  explicit TunerFilter(std::unique_ptr<SimulatedEeprom> eeprom);
  TunerFilter(const TunerFilter&) = delete;
  TunerFilter& operator=(const TunerFilter&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IPersist
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override;

  // IMediaFilter
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE Pause() override;
  HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME start) override;
  HRESULT STDMETHODCALLTYPE GetState(DWORD timeout, FILTER_STATE* state) override;
  HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock* clock) override;
  HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock** clock) override;

  // IBaseFilter
  HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins** pins) override;
  HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR id, IPin** pin) override;
  HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO* info) override;
  HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
  HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR* info) override;

  // IKsPropertySet (tuner_property_set.cpp)
  HRESULT STDMETHODCALLTYPE Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength,
                                LPVOID data, DWORD dataLength) override;
  HRESULT STDMETHODCALLTYPE Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength,
                                LPVOID data, DWORD dataLength, DWORD* returned) override;
  HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

 private:
  ~TunerFilter();

  LONG refs_ = 1;
  std::unique_ptr<SimulatedEeprom> eeprom_;
  std::mutex mutex_;  // guards the graph state below
  FILTER_STATE state_ = State_Stopped;
  IReferenceClock* clock_ = nullptr;  // one reference held
  IFilterGraph* graph_ = nullptr;     // not held: the graph owns us
  WCHAR name_[MAX_FILTER_NAME] = {};
};
