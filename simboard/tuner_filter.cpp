// The board's tuner filter: a filter without pins that joins a graph and
// carries the driver's property-set interface with the EEPROM set. The
// capture graph builder's FindInterface returns that interface because the
// filter object itself exposes it.
#include <vfwmsgs.h>

#include <cstring>
#include <new>
#include <utility>

#include "simboard_private.h"

namespace {

// The filter graph enumerates the pins of a filter it lets go.
class CEmptyPinEnum final : public CBoardObject<CEmptyPinEnum, IEnumPins> {
 public:
  void* Find(REFIID iid) noexcept { return FindOnly<IEnumPins>(this, iid, IID_IEnumPins); }

  HRESULT STDMETHODCALLTYPE Next(ULONG count, IPin** pins, ULONG* fetched) noexcept override {
    if (pins == nullptr) return E_POINTER;
    if (count != 1 && fetched == nullptr) return E_INVALIDARG;
    if (fetched != nullptr) *fetched = 0;
    return count == 0 ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) noexcept override {
    return count == 0 ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Clone(IEnumPins** clone) noexcept override { return Create(clone); }

  static HRESULT Create(IEnumPins** pins) noexcept {
    return QueryNewObject(new (std::nothrow) CEmptyPinEnum(), IID_IEnumPins,
                          reinterpret_cast<void**>(pins));
  }
};

HRESULT CheckProperty(REFGUID set, DWORD id, DWORD expected) noexcept {
  if (!IsEqualGUID(set, PROPSETID_EEPROM_ACCESS)) return E_PROP_SET_UNSUPPORTED;
  return id == expected ? S_OK : E_PROP_ID_UNSUPPORTED;
}

// The property and the buffers, checked before the record is read; a
// refusal is logged without offset or bytes.
HRESULT AcceptRequest(const char* operation, REFGUID set, DWORD id, DWORD expected,
                      const void* instance, DWORD instanceLength, const void* data,
                      DWORD dataLength, DWORD recordSize) noexcept {
  HRESULT hr = CheckProperty(set, id, expected);
  if (hr == S_OK) hr = CheckRequestBuffers(instance, instanceLength, data, dataLength, recordSize);
  if (hr != S_OK) LogRequest(operation, id, -1, nullptr, 0, hr);
  return hr;
}

class CTunerFilter final : public CBoardObject<CTunerFilter, IBaseFilter, IKsPropertySet> {
 public:
  CTunerFilter(CSimulatedEeprom eeprom, DWORD readDelay)
      : m_eeprom(std::move(eeprom)), m_readDelay(readDelay) {
    LogLine("FilterCreated");
  }
  // Also told to a debugger, which sees it in order with the program's calls.
  ~CTunerFilter() {
    LogLine("FilterReleased");
    OutputDebugStringA("Travune simulated board: filter released\n");
  }

  void* Find(REFIID iid) noexcept {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IPersist) ||
        IsEqualIID(iid, IID_IMediaFilter) || IsEqualIID(iid, IID_IBaseFilter)) {
      return static_cast<IBaseFilter*>(this);
    }
    if (IsEqualIID(iid, IID_IKsPropertySet)) return static_cast<IKsPropertySet*>(this);
    return nullptr;
  }

  // IPersist
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) noexcept override {
    if (clsid == nullptr) return E_POINTER;
    *clsid = CLSID_TravuneSimBoard;
    return S_OK;
  }

  // IMediaFilter: nobody runs a tuner whose only use is its EEPROM. The
  // graph hands a filter it lets go a null clock; a filter that never runs
  // needs no clock, so any is accepted and none is kept.
  HRESULT STDMETHODCALLTYPE Stop() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Pause() noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetState(DWORD, FILTER_STATE*) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock*) noexcept override { return S_OK; }
  HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock**) noexcept override { return E_NOTIMPL; }

  // IBaseFilter
  HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins** pins) noexcept override {
    return CEmptyPinEnum::Create(pins);
  }
  HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR, IPin**) noexcept override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO*) noexcept override { return E_NOTIMPL; }
  // The graph owns the filter, so the filter holds no reference to it.
  HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph* graph, LPCWSTR) noexcept override {
    LogLine(graph != nullptr ? "JoinFilterGraph graph" : "JoinFilterGraph null");
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR*) noexcept override { return E_NOTIMPL; }

  // IKsPropertySet. As for the driver, the request is the instance data; the
  // property data of a Set goes unread, that of a Get takes the reply.
  HRESULT STDMETHODCALLTYPE Set(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength,
                                LPVOID data, DWORD dataLength) noexcept override {
    HRESULT hr = AcceptRequest("Set", set, id, EEPROM_PROPERTY_WRITE, instance, instanceLength,
                               data, dataLength, sizeof(EEPROM_WRITE_REQUEST));
    if (hr != S_OK) return hr;
    EEPROM_WRITE_REQUEST request;
    std::memcpy(&request, instance, sizeof(request));
    hr = WithoutExceptions([&] { return m_eeprom.Write(request); });
    LogRequest("Set", id, request.WriteData[0], &request.WriteData[1], EEPROM_BLOCK_SIZE, hr);
    return hr;
  }

  HRESULT STDMETHODCALLTYPE Get(REFGUID set, DWORD id, LPVOID instance, DWORD instanceLength,
                                LPVOID data, DWORD dataLength, DWORD* returned) noexcept override {
    if (m_readDelay != 0) Sleep(m_readDelay);
    HRESULT hr = AcceptRequest("Get", set, id, EEPROM_PROPERTY_READ, instance, instanceLength, data,
                               dataLength, sizeof(EEPROM_READ_REQUEST));
    if (hr != S_OK) return hr;
    EEPROM_READ_REQUEST request;
    std::memcpy(&request, instance, sizeof(request));
    BYTE value = 0;
    hr = WithoutExceptions([&] { return m_eeprom.Read(request, &value); });
    if (hr == S_OK) {
      static_cast<EEPROM_READ_REQUEST*>(data)->ReadData[0] = value;
      if (returned != nullptr) *returned = sizeof(EEPROM_READ_REQUEST);
    }
    LogRequest("Get", id, request.WriteData[0], hr == S_OK ? &value : nullptr, 1, hr);
    return hr;
  }

  HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID set, DWORD id,
                                           DWORD* support) noexcept override {
    HRESULT hr = S_OK;
    if (support == nullptr) {
      hr = E_POINTER;
    } else if (!IsEqualGUID(set, PROPSETID_EEPROM_ACCESS)) {
      hr = E_PROP_SET_UNSUPPORTED;
    } else if (id != EEPROM_PROPERTY_WRITE && id != EEPROM_PROPERTY_READ) {
      hr = E_PROP_ID_UNSUPPORTED;
    }
    DWORD flags = hr == S_OK ? CSimulatedEeprom::SupportFor(id) : 0;
    if (hr == S_OK) *support = flags;
    LogSupportQuery(id, hr, flags);
    return hr;
  }

 private:
  CSimulatedEeprom m_eeprom;
  DWORD m_readDelay;  // milliseconds each Get waits before it answers
};

}  // namespace

HRESULT CreateTunerFilter(REFIID iid, void** object) {
  CSimulatedEeprom eeprom(ResolveEepromPath(), ReadRefusedBlock());
  return QueryNewObject(new (std::nothrow) CTunerFilter(std::move(eeprom), ReadReadDelay()), iid,
                        object);
}
