#include "tuner_filter.h"

#include <new>
#include <string>
#include <utility>
#include <vector>

#include "eeprom_file.h"
#include "empty_pin_enum.h"
#include "environment.h"
#include "module.h"
#include "request_log.h"
#include "simboard_ids.h"

HRESULT CreateTunerFilter(REFIID iid, void** object) {
  std::vector<std::string> complaints;
  FilterKnobs knobs = ParseFilterKnobs(ReadEnvironment, &complaints);
  for (const std::string& complaint : complaints) LogLine(complaint.c_str());

  std::unique_ptr<SimulatedEeprom> eeprom(
      new (std::nothrow) SimulatedEeprom(ResolveEepromPath(), std::move(knobs)));
  if (eeprom == nullptr) return E_OUTOFMEMORY;
  TunerFilter* filter = new (std::nothrow) TunerFilter(std::move(eeprom));
  if (filter == nullptr) return E_OUTOFMEMORY;
  LogLine("FilterCreated");
  HRESULT hr = filter->QueryInterface(iid, object);
  filter->Release();
  return hr;
}

TunerFilter::TunerFilter(std::unique_ptr<SimulatedEeprom> eeprom) : eeprom_(std::move(eeprom)) {
  SimBoardLockModule();
}

TunerFilter::~TunerFilter() {
  if (clock_ != nullptr) clock_->Release();
  LogLine("FilterReleased");
  SimBoardUnlockModule();
}

HRESULT STDMETHODCALLTYPE TunerFilter::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPersist) ||
      IsEqualIID(iid, IID_IMediaFilter) || IsEqualIID(iid, IID_IBaseFilter)) {
    *object = static_cast<IBaseFilter*>(this);
  } else if (IsEqualIID(iid, IID_IKsPropertySet)) {
    *object = static_cast<IKsPropertySet*>(this);
  } else {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG STDMETHODCALLTYPE TunerFilter::AddRef() {
  return static_cast<ULONG>(InterlockedIncrement(&refs_));
}

ULONG STDMETHODCALLTYPE TunerFilter::Release() {
  LONG refs = InterlockedDecrement(&refs_);
  if (refs == 0) delete this;
  return static_cast<ULONG>(refs);
}

HRESULT STDMETHODCALLTYPE TunerFilter::GetClassID(CLSID* clsid) {
  if (clsid == nullptr) return E_POINTER;
  *clsid = CLSID_TravuneSimBoard;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TunerFilter::Stop() {
  std::lock_guard<std::mutex> lock(mutex_);
  state_ = State_Stopped;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TunerFilter::Pause() {
  std::lock_guard<std::mutex> lock(mutex_);
  state_ = State_Paused;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TunerFilter::Run(REFERENCE_TIME /*start*/) {
  std::lock_guard<std::mutex> lock(mutex_);
  state_ = State_Running;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TunerFilter::GetState(DWORD /*timeout*/, FILTER_STATE* state) {
  if (state == nullptr) return E_POINTER;
  std::lock_guard<std::mutex> lock(mutex_);
  *state = state_;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TunerFilter::SetSyncSource(IReferenceClock* clock) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (clock != nullptr) clock->AddRef();
  if (clock_ != nullptr) clock_->Release();
  clock_ = clock;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TunerFilter::GetSyncSource(IReferenceClock** clock) {
  if (clock == nullptr) return E_POINTER;
  std::lock_guard<std::mutex> lock(mutex_);
  if (clock_ != nullptr) clock_->AddRef();
  *clock = clock_;
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TunerFilter::EnumPins(IEnumPins** pins) {
  return CreateEmptyPinEnum(pins);
}

HRESULT STDMETHODCALLTYPE TunerFilter::FindPin(LPCWSTR /*id*/, IPin** pin) {
  if (pin == nullptr) return E_POINTER;
  *pin = nullptr;
  return VFW_E_NOT_FOUND;
}

HRESULT STDMETHODCALLTYPE TunerFilter::QueryFilterInfo(FILTER_INFO* info) {
  if (info == nullptr) return E_POINTER;
  std::lock_guard<std::mutex> lock(mutex_);
  lstrcpynW(info->achName, name_, MAX_FILTER_NAME);
  info->pGraph = graph_;
  if (graph_ != nullptr) graph_->AddRef();
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TunerFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
  std::lock_guard<std::mutex> lock(mutex_);
  graph_ = graph;
  if (graph != nullptr && name != nullptr) {
    lstrcpynW(name_, name, MAX_FILTER_NAME);
  } else {
    name_[0] = L'\0';
  }
  LogLine(graph != nullptr ? "JoinFilterGraph graph" : "JoinFilterGraph null");
  return S_OK;
}

HRESULT STDMETHODCALLTYPE TunerFilter::QueryVendorInfo(LPWSTR* info) {
  if (info == nullptr) return E_POINTER;
  *info = nullptr;
  return E_NOTIMPL;
}
