// A fake media framework, the device code's COM creator and DebugLog sink while
// it lives. Every call but AddRef and QueryInterface (which finds no interface)
// lands in `calls` as "<object>.<Method>" or "<object>.new(<context>)"; any but
// Release can fail on request. Receivers R1, ..., tuners T1, ..., bags R1b, T1b, filters T1f, ...
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "debug_log.h"
#include "device_ids.h"
#include "device_private.h"

// For the methods the device code never calls, one to three at a time.
#define NOT_CALLED(signature) \
  HRESULT STDMETHODCALLTYPE signature override { return E_NOTIMPL; }
#define NOT_CALLED2(first, ...) NOT_CALLED(first) NOT_CALLED(__VA_ARGS__)
#define NOT_CALLED3(first, ...) NOT_CALLED(first) NOT_CALLED2(__VA_ARGS__)

// Registry values that are not strings.
using WideText = std::basic_string<WCHAR>;
const WideText NULL_STRING = L"\1null", NUMBER = L"\1number";
using Values = std::vector<std::pair<std::string, WideText>>;
inline WideText Wide(const std::string& ascii) { return {ascii.begin(), ascii.end()}; }

struct CFakeObject;

struct CFakeCalls {
  std::string calls, debugLog;
  std::vector<std::string> failable;  // every call that can fail, in order
  int failAt = -1;                    // the failable call that answers failWith
  HRESULT failWith = E_FAIL;
  int overReleases = 0;
  std::vector<std::unique_ptr<CFakeObject>> objects;  // in creation order
  CFakeObject* Make(const std::string& name);
  CFakeObject *receivers = Make("receivers"), *tuners = Make("tuners"), *devices = Make("devenum");
  CFakeObject *graph = Make("graph"), *propertySet = Make("propset"), *builder = Make("builder");
};

// One kind of object plays every part (enumerators, monikers, bags, filters,
// the filter graph, its builder, the property set), named after it; it counts
// the references others hold, and a Release of none is an over-release.
template <typename... Interfaces>
struct CEvery : Interfaces... {};
struct CFakeObject final : CEvery<ICreateDevEnum, IEnumMoniker, IMoniker, IPropertyBag, IBaseFilter,
                                  IGraphBuilder, ICaptureGraphBuilder2, IKsPropertySet> {
  CFakeObject(CFakeCalls& log, std::string name) : m_log(log), m_name(std::move(name)) {}
  std::string Held() const { return m_held ? m_name + "+" + std::to_string(m_held) + " " : ""; }
  CFakeObject* Share() { return AddRef(), this; }

  Values values;                       // a bag's
  CFakeObject* bag = nullptr;          // a moniker's
  CFakeObject* filter = nullptr;       // without one, BindToObject fails
  std::vector<CFakeObject*> monikers;  // an enumerator's
  size_t next = 0;
  IBaseFilter* added = nullptr;  // the filter graph's

  // Hands out the target as Interface, if asked for that, after the call
  // `method` (which can fail); without a target, answers `none`.
  template <typename Interface>
  HRESULT Give(const std::string& method, CFakeObject* target, void** object, HRESULT none = E_FAIL,
               REFIID riid = __uuidof(Interface)) {
    *object = nullptr;
    if (const HRESULT failure = Fail(method)) return failure;
    if (riid != __uuidof(Interface)) return E_NOINTERFACE;
    if (target == nullptr) return none;
    *object = static_cast<Interface*>(target->Share());
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_held; }
  ULONG STDMETHODCALLTYPE Release() override {
    m_log.calls += m_name + ".Release ";
    return m_held != 0 ? --m_held : (++m_log.overReleases, 0);
  }

  // An unknown category answers S_FALSE and no enumerator.
  HRESULT STDMETHODCALLTYPE CreateClassEnumerator(REFCLSID category, IEnumMoniker** enumerator,
                                                  DWORD flags) override {
    CFakeObject* found = category == KSCATEGORY_BDA_RECEIVER_COMPONENT ? m_log.receivers
                         : category == KSCATEGORY_BDA_NETWORK_TUNER    ? m_log.tuners
                                                                       : nullptr;
    if (found != nullptr) found->next = 0;
    const std::string call = "CreateClassEnumerator(" + std::to_string(flags) + ")";
    return Give<IEnumMoniker>(call, found, reinterpret_cast<void**>(enumerator), S_FALSE);
  }

  HRESULT STDMETHODCALLTYPE Next(ULONG, IMoniker** moniker, ULONG* fetched) override {
    CFakeObject* found = next < monikers.size() ? monikers[next++] : nullptr;
    if (fetched != nullptr) *fetched = found != nullptr ? 1 : 0;
    return Give<IMoniker>("Next", found, reinterpret_cast<void**>(moniker), S_FALSE);
  }

  HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx*, IMoniker*, REFIID riid, void** out) override {
    return Give<IPropertyBag>("BindToStorage", bag, out, E_FAIL, riid);
  }
  HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx*, IMoniker*, REFIID riid, void** out) override {
    return Give<IBaseFilter>("BindToObject", filter, out, E_FAIL, riid);
  }

  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR property, VARIANT* value, IErrorLog*) override {
    if (const HRESULT failure = Fail("Read(" + NarrowText(property) + ")")) return failure;
    for (const auto& [name, stored] : values) {
      if (name != NarrowText(property)) continue;
      value->vt = stored == NUMBER ? VT_I4 : VT_BSTR;
      value->bstrVal = stored[0] != 1 ? SysAllocString(stored.c_str()) : nullptr;
      if (stored == NUMBER) value->lVal = 0x14F1;
      return S_OK;
    }
    return E_INVALIDARG;
  }

  // Refuses a null filter; the call names the name the filter was offered under.
  HRESULT STDMETHODCALLTYPE AddFilter(IBaseFilter* offered, LPCWSTR name) override {
    if (const HRESULT failure = Fail("AddFilter(" + NarrowText(name) + ")")) return failure;
    if (offered == nullptr) return E_POINTER;
    added = offered;
    return S_OK;
  }

  // Exposes the driver's property set for the filter added to the graph.
  HRESULT STDMETHODCALLTYPE SetFiltergraph(IGraphBuilder* filterGraph) override {
    if (const HRESULT failure = Fail("SetFiltergraph")) return failure;
    return filterGraph == static_cast<IGraphBuilder*>(m_log.graph) ? S_OK : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE FindInterface(const GUID* category, const GUID* type,
                                          IBaseFilter* tuner, REFIID riid, void** object) override {
    const bool capture =
        category != nullptr && *category == PIN_CATEGORY_CAPTURE && type == nullptr;
    const bool added = tuner != nullptr && tuner == m_log.graph->added;
    return Give<IKsPropertySet>("FindInterface", capture && added ? m_log.propertySet : nullptr,
                                object, E_FAIL, riid);
  }

  NOT_CALLED(ControlStream(const GUID*, const GUID*, IBaseFilter*, REFERENCE_TIME*, REFERENCE_TIME*,
                           WORD, WORD))
  NOT_CALLED(FindPin(IUnknown*, PIN_DIRECTION, const GUID*, const GUID*, BOOL, int, IPin**))
  NOT_CALLED2(RenderStream(const GUID*, const GUID*, IUnknown*, IBaseFilter*, IBaseFilter*), Stop())
  NOT_CALLED2(SetOutputFileName(const GUID*, LPCOLESTR, IBaseFilter**, IFileSinkFilter**), Reset())
  NOT_CALLED2(CopyCaptureFile(LPOLESTR, LPOLESTR, int, IAMCopyCaptureFileProgress*), Load(IStream*))
  NOT_CALLED2(ParseDisplayName(IBindCtx*, IMoniker*, LPWSTR, ULONG*, IMoniker**), Disconnect(IPin*))
  NOT_CALLED2(Get(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD, DWORD*), Enum(BOOL, IEnumMoniker**))
  NOT_CALLED2(GetTimeOfLastChange(IBindCtx*, IMoniker*, FILETIME*), SetSyncSource(IReferenceClock*))
  NOT_CALLED2(ConnectDirect(IPin*, IPin*, const AM_MEDIA_TYPE*), AllocCapFile(LPCOLESTR, DWORDLONG))
  NOT_CALLED2(Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD), GetSyncSource(IReferenceClock**))
  NOT_CALLED2(Reduce(IBindCtx*, DWORD, IMoniker**, IMoniker**), GetFiltergraph(IGraphBuilder**))
  NOT_CALLED2(AddSourceFilter(LPCWSTR, LPCWSTR, IBaseFilter**), GetState(DWORD, FILTER_STATE*))
  NOT_CALLED2(GetDisplayName(IBindCtx*, IMoniker*, LPWSTR*), QuerySupported(REFGUID, DWORD, DWORD*))
  NOT_CALLED2(IsRunning(IBindCtx*, IMoniker*, IMoniker*), ComposeWith(IMoniker*, BOOL, IMoniker**))
  NOT_CALLED2(FindFilterByName(LPCWSTR, IBaseFilter**), CommonPrefixWith(IMoniker*, IMoniker**))
  NOT_CALLED2(JoinFilterGraph(IFilterGraph*, LPCWSTR), RelativePathTo(IMoniker*, IMoniker**))
  NOT_CALLED3(QueryFilterInfo(FILTER_INFO*), RenderFile(LPCWSTR, LPCWSTR), FindPin(LPCWSTR, IPin**))
  NOT_CALLED3(GetSizeMax(ULARGE_INTEGER*), EnumFilters(IEnumFilters**), Write(LPCOLESTR, VARIANT*))
  NOT_CALLED3(RemoveFilter(IBaseFilter*), ShouldOperationContinue(), QueryVendorInfo(LPWSTR*))
  NOT_CALLED3(IsSystemMoniker(DWORD*), SetDefaultSyncSource(), Clone(IEnumMoniker**))
  NOT_CALLED3(EnumPins(IEnumPins**), Connect(IPin*, IPin*), SetLogFile(DWORD_PTR))
  NOT_CALLED3(Save(IStream*, BOOL), Inverse(IMoniker**), Run(REFERENCE_TIME))
  NOT_CALLED3(GetClassID(CLSID*), IsEqual(IMoniker*), Reconnect(IPin*))
  NOT_CALLED3(Render(IPin*), Hash(DWORD*), Skip(ULONG))
  NOT_CALLED3(IsDirty(), Pause(), Abort())

 private:
  HRESULT Fail(const std::string& method) {
    m_log.calls += m_name + "." + method + " ";
    m_log.failable.push_back(m_name + "." + method);
    return static_cast<int>(m_log.failable.size()) - 1 == m_log.failAt ? m_log.failWith : S_OK;
  }
  CFakeCalls& m_log;
  std::string m_name;
  ULONG m_held = 0;
};

inline CFakeObject* CFakeCalls::Make(const std::string& name) {
  return objects.emplace_back(std::make_unique<CFakeObject>(*this, name)).get();
}

struct CFakeComWorld : CFakeCalls {
  // The board as installed, its receiver (lower-case path) and tuner 1, unless told otherwise.
  explicit CFakeComWorld(bool withBoard = true) {
    m_pCurrent = this;
    SetComInstanceCreator(Create);
    SetDebugLogSink([](const char* text) { m_pCurrent->debugLog += text; });
    if (!withBoard) return;
    AddReceiver(L"\\\\?\\pci#ven_14f1&dev_8852&subsys_2a6c5e1d&rev_04", L"Travune BDA Receiver");
    AddTuner(L"Travune Digital Tuner 1 (DVB-T)");
  }
  ~CFakeComWorld() {
    SetComInstanceCreator(nullptr);
    SetDebugLogSink(nullptr);
  }

  void AddReceiver(const WideText& devicePath, const WideText& friendlyName) {
    Add(receivers, "R", {{"DevicePath", devicePath}, {"FriendlyName", friendlyName}}, false);
  }
  void AddTuner(const WideText& friendlyName, bool bindable = true) {
    Add(tuners, "T", {{"FriendlyName", friendlyName}}, bindable);
  }

  // "<object>+<references> " for each object held, in creation order, and
  // "over-released " if that happened: "" when all is clean.
  std::string State() const {
    std::string state;
    for (const auto& object : objects) state += object->Held();
    return overReleases != 0 ? state + "over-released " : state;
  }

 private:
  // A moniker in the enumerator, with a bag of these values and a filter if bindable.
  void Add(CFakeObject* enumerator, const char* kind, Values values, bool bindable) {
    const std::string name = kind + std::to_string(enumerator->monikers.size() + 1);
    CFakeObject* moniker = enumerator->monikers.emplace_back(Make(name));
    moniker->bag = Make(name + "b");
    moniker->bag->values = std::move(values);
    if (bindable) moniker->filter = Make(name + "f");
  }
  static inline CFakeComWorld* m_pCurrent = nullptr;
  static HRESULT Create(REFCLSID classId, IUnknown*, DWORD context, REFIID riid, void** object) {
    CFakeComWorld& world = *m_pCurrent;
    const std::string call = "new(" + std::to_string(context) + ")";
    if (classId == CLSID_SystemDeviceEnum) {
      return world.devices->Give<ICreateDevEnum>(call, world.devices, object, E_FAIL, riid);
    }
    if (classId == CLSID_FilterGraph) {
      return world.graph->Give<IGraphBuilder>(call, world.graph, object, E_FAIL, riid);
    }
    return world.builder->Give<ICaptureGraphBuilder2>(call, world.builder, object, E_FAIL, riid);
  }
};
