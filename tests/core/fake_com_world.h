// A fake media framework, the device code's COM creator and DebugLog sink
// while it lives. Every call lands in `calls` as "<object>.<Method>" (a
// creation as "new(<class>,<context>)"); any but Release can be made to fail.
// Receivers are R1, ... with bags R1b, ...; tuners T1, ..., T1b, ..., T1f, ....
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "debug_log.h"
#include "device_private.h"

// For the methods the device code never calls, one to three at a time.
#define NOT_CALLED(signature) \
  HRESULT STDMETHODCALLTYPE signature override { return E_NOTIMPL; }
#define NOT_CALLED2(first, second) NOT_CALLED(first) NOT_CALLED(second)
#define NOT_CALLED3(first, second, third) NOT_CALLED(first) NOT_CALLED2(second, third)

// Registry values that are not strings.
using WideText = std::basic_string<WCHAR>;
const WideText NULL_STRING = L"\1null", NUMBER = L"\1number";
inline WideText Wide(const std::string& ascii) { return {ascii.begin(), ascii.end()}; }

inline std::string Narrow(const OLECHAR* text) {
  std::string narrow;
  for (; text != nullptr && *text != 0; ++text) narrow += *text < 0x80 ? char(*text) : '?';
  return narrow;
}

struct CFakeCalls {
  std::string calls, debugLog;
  std::vector<std::string> failable;  // every call that can fail, in order
  int failAt = -1;                    // the failable call that answers failWith
  HRESULT failWith = E_FAIL;
  int injected = 0, overReleases = 0;

  HRESULT Enter(const std::string& call) {
    calls += call + " ";
    failable.push_back(call);
    if (static_cast<int>(failable.size()) - 1 != failAt) return S_OK;
    ++injected;
    return failWith;
  }
};

// Counts the references others hold; a Release of none is an over-release.
class CFakeObject {
 public:
  CFakeObject(CFakeCalls& log, std::string name) : m_log(log), m_name(std::move(name)) {}
  virtual ~CFakeObject() = default;
  std::string Held() const { return m_held ? m_name + "+" + std::to_string(m_held) + " " : ""; }

 protected:
  HRESULT Fail(const std::string& method) { return m_log.Enter(m_name + "." + method); }
  CFakeCalls& m_log;
  std::string m_name;
  ULONG m_held = 0;
};

template <typename Interface>
struct CFake : Interface, CFakeObject {
  using CFakeObject::CFakeObject;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++m_held; }
  ULONG STDMETHODCALLTYPE Release() override {
    m_log.calls += m_name + ".Release ";
    return m_held != 0 ? --m_held : (++m_log.overReleases, 0);
  }
  Interface* Share() { return AddRef(), this; }
};

struct CFakeBag : CFake<IPropertyBag> {
  using CFake::CFake;
  std::vector<std::pair<std::string, WideText>> values;
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR property, VARIANT* value, IErrorLog*) override {
    if (const HRESULT failure = Fail("Read(" + Narrow(property) + ")")) return failure;
    for (const auto& [name, stored] : values) {
      if (name != Narrow(property)) continue;
      value->vt = stored == NUMBER ? VT_I4 : VT_BSTR;
      value->bstrVal = stored[0] != 1 ? SysAllocString(stored.c_str()) : nullptr;
      if (stored == NUMBER) value->lVal = 0x14F1;
      return S_OK;
    }
    return E_INVALIDARG;
  }
  NOT_CALLED(Write(LPCOLESTR, VARIANT*))
};

struct CFakeFilter : CFake<IBaseFilter> {
  using CFake::CFake;
  NOT_CALLED3(GetClassID(CLSID*), Stop(), Pause())
  NOT_CALLED3(Run(REFERENCE_TIME), GetState(DWORD, FILTER_STATE*), SetSyncSource(IReferenceClock*))
  NOT_CALLED3(GetSyncSource(IReferenceClock**), EnumPins(IEnumPins**), FindPin(LPCWSTR, IPin**))
  NOT_CALLED2(QueryFilterInfo(FILTER_INFO*), JoinFilterGraph(IFilterGraph*, LPCWSTR))
  NOT_CALLED(QueryVendorInfo(LPWSTR*))
};

// Binds to its bag and its filter; without a filter, BindToObject fails.
struct CFakeMoniker : CFake<IMoniker> {
  CFakeMoniker(CFakeCalls& log, std::string name, CFakeBag* bag, CFakeFilter* filter)
      : CFake(log, std::move(name)), m_pBag(bag), m_pFilter(filter) {}
  HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx* context, IMoniker* left, REFIID riid,
                                          void** object) override {
    return Bind("BindToStorage", context, left, riid == IID_IPropertyBag, m_pBag, object);
  }
  HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx* context, IMoniker* left, REFIID riid,
                                         void** object) override {
    return Bind("BindToObject", context, left, riid == IID_IBaseFilter, m_pFilter, object);
  }
  NOT_CALLED3(GetClassID(CLSID*), IsDirty(), Load(IStream*))
  NOT_CALLED2(Save(IStream*, BOOL), GetSizeMax(ULARGE_INTEGER*))
  NOT_CALLED(Reduce(IBindCtx*, DWORD, IMoniker**, IMoniker**))
  NOT_CALLED3(ComposeWith(IMoniker*, BOOL, IMoniker**), Enum(BOOL, IEnumMoniker**),
              IsEqual(IMoniker*))
  NOT_CALLED2(Hash(DWORD*), IsRunning(IBindCtx*, IMoniker*, IMoniker*))
  NOT_CALLED2(GetTimeOfLastChange(IBindCtx*, IMoniker*, FILETIME*), Inverse(IMoniker**))
  NOT_CALLED2(CommonPrefixWith(IMoniker*, IMoniker**), RelativePathTo(IMoniker*, IMoniker**))
  NOT_CALLED(GetDisplayName(IBindCtx*, IMoniker*, LPWSTR*))
  NOT_CALLED(ParseDisplayName(IBindCtx*, IMoniker*, LPWSTR, ULONG*, IMoniker**))
  NOT_CALLED(IsSystemMoniker(DWORD*))

 private:
  template <typename Target>
  HRESULT Bind(const char* method, IBindCtx* context, IMoniker* left, bool wanted,
               CFake<Target>* target, void** object) {
    *object = nullptr;
    if (const HRESULT failure = Fail(method)) return failure;
    if (context != nullptr || left != nullptr || !wanted) return E_INVALIDARG;
    if (target == nullptr) return E_FAIL;
    *object = target->Share();
    return S_OK;
  }
  CFakeBag* m_pBag;
  CFakeFilter* m_pFilter;
};

struct CFakeMonikers : CFake<IEnumMoniker> {
  using CFake::CFake;
  std::vector<CFakeMoniker*> monikers;
  size_t next = 0;
  HRESULT STDMETHODCALLTYPE Next(ULONG count, IMoniker** moniker, ULONG* fetched) override {
    *moniker = nullptr;
    if (const HRESULT failure = Fail("Next")) return failure;
    if (count != 1 || next == monikers.size()) return S_FALSE;
    *moniker = monikers[next++]->Share();
    if (fetched != nullptr) *fetched = 1;
    return S_OK;
  }
  NOT_CALLED3(Skip(ULONG), Reset(), Clone(IEnumMoniker**))
};

// A category without members answers S_FALSE and no enumerator.
struct CFakeDevices : CFake<ICreateDevEnum> {
  CFakeDevices(CFakeCalls& log, CFakeMonikers* receivers, CFakeMonikers* tuners)
      : CFake(log, "devenum"), m_pReceivers(receivers), m_pTuners(tuners) {}
  HRESULT STDMETHODCALLTYPE CreateClassEnumerator(REFCLSID category, IEnumMoniker** enumerator,
                                                  DWORD flags) override {
    static const GUID RECEIVERS = {
        0xFD0A5AF4, 0xB41D, 0x11D2, {0x9C, 0x95, 0x00, 0xC0, 0x4F, 0x79, 0x71, 0xE0}};
    static const GUID TUNERS = {
        0x71985F48, 0x1CA1, 0x11D3, {0x9C, 0xC8, 0x00, 0xC0, 0x4F, 0x79, 0x71, 0xE0}};
    CFakeMonikers* monikers = category == RECEIVERS ? m_pReceivers
                              : category == TUNERS  ? m_pTuners
                                                    : nullptr;
    *enumerator = nullptr;
    const std::string call = "CreateClassEnumerator(" + std::to_string(flags) + ")";
    if (const HRESULT failure = Fail(call)) return failure;
    if (monikers == nullptr || monikers->monikers.empty()) return S_FALSE;
    monikers->next = 0;
    *enumerator = monikers->Share();
    return S_OK;
  }

 private:
  CFakeMonikers* m_pReceivers;
  CFakeMonikers* m_pTuners;
};

struct CFakePropertySet : CFake<IKsPropertySet> {
  using CFake::CFake;
  NOT_CALLED(Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD))
  NOT_CALLED(Get(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD, DWORD*))
  NOT_CALLED(QuerySupported(REFGUID, DWORD, DWORD*))
};

// Refuses a null filter; the call names the name the filter was offered under.
struct CFakeGraph : CFake<IGraphBuilder> {
  using CFake::CFake;
  IBaseFilter* added = nullptr;
  HRESULT STDMETHODCALLTYPE AddFilter(IBaseFilter* filter, LPCWSTR name) override {
    if (const HRESULT failure = Fail("AddFilter(" + Narrow(name) + ")")) return failure;
    if (filter == nullptr) return E_POINTER;
    added = filter;
    return S_OK;
  }
  NOT_CALLED2(RemoveFilter(IBaseFilter*), EnumFilters(IEnumFilters**))
  NOT_CALLED(FindFilterByName(LPCWSTR, IBaseFilter**))
  NOT_CALLED2(ConnectDirect(IPin*, IPin*, const AM_MEDIA_TYPE*), Reconnect(IPin*))
  NOT_CALLED3(Disconnect(IPin*), SetDefaultSyncSource(), Connect(IPin*, IPin*))
  NOT_CALLED2(Render(IPin*), RenderFile(LPCWSTR, LPCWSTR))
  NOT_CALLED3(AddSourceFilter(LPCWSTR, LPCWSTR, IBaseFilter**), SetLogFile(DWORD_PTR), Abort())
  NOT_CALLED(ShouldOperationContinue())
};

// Exposes the driver's property set for the filter added to the graph.
struct CFakeBuilder : CFake<ICaptureGraphBuilder2> {
  CFakeBuilder(CFakeCalls& log, CFakeGraph* graph, CFakePropertySet* propertySet)
      : CFake(log, "builder"), m_pGraph(graph), m_pPropertySet(propertySet) {}
  HRESULT STDMETHODCALLTYPE SetFiltergraph(IGraphBuilder* graph) override {
    if (const HRESULT failure = Fail("SetFiltergraph")) return failure;
    return graph == m_pGraph ? S_OK : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE FindInterface(const GUID* category, const GUID* type,
                                          IBaseFilter* filter, REFIID riid,
                                          void** object) override {
    *object = nullptr;
    if (const HRESULT failure = Fail("FindInterface")) return failure;
    if (category == nullptr || *category != PIN_CATEGORY_CAPTURE || type != nullptr ||
        filter == nullptr || filter != m_pGraph->added || riid != IID_IKsPropertySet) {
      return E_NOINTERFACE;
    }
    *object = m_pPropertySet->Share();
    return S_OK;
  }
  NOT_CALLED(GetFiltergraph(IGraphBuilder**))
  NOT_CALLED(SetOutputFileName(const GUID*, LPCOLESTR, IBaseFilter**, IFileSinkFilter**))
  NOT_CALLED(RenderStream(const GUID*, const GUID*, IUnknown*, IBaseFilter*, IBaseFilter*))
  NOT_CALLED(ControlStream(const GUID*, const GUID*, IBaseFilter*, REFERENCE_TIME*, REFERENCE_TIME*,
                           WORD, WORD))
  NOT_CALLED(AllocCapFile(LPCOLESTR, DWORDLONG))
  NOT_CALLED(CopyCaptureFile(LPOLESTR, LPOLESTR, int, IAMCopyCaptureFileProgress*))
  NOT_CALLED(FindPin(IUnknown*, PIN_DIRECTION, const GUID*, const GUID*, BOOL, int, IPin**))

 private:
  CFakeGraph* m_pGraph;
  CFakePropertySet* m_pPropertySet;
};

struct CFakeComWorld : CFakeCalls {
  CFakeComWorld() {
    m_pReceivers = Make<CFakeMonikers>("receivers");
    m_pTuners = Make<CFakeMonikers>("tuners");
    m_pDevices = Make<CFakeDevices>(m_pReceivers, m_pTuners);
    m_pGraph = Make<CFakeGraph>("graph");
    m_pBuilder = Make<CFakeBuilder>(m_pGraph, Make<CFakePropertySet>("propset"));
    m_pCurrent = this;
    SetComInstanceCreator(Create);
    SetDebugLogSink([](const char* text) { m_pCurrent->debugLog += text; });
  }
  ~CFakeComWorld() {
    SetComInstanceCreator(nullptr);
    SetDebugLogSink(nullptr);
  }

  void AddReceiver(const WideText& devicePath, const WideText& friendlyName) {
    const std::string name = "R" + std::to_string(m_pReceivers->monikers.size() + 1);
    CFakeBag* bag = Make<CFakeBag>(name + "b");
    bag->values = {{"DevicePath", devicePath}, {"FriendlyName", friendlyName}};
    m_pReceivers->monikers.push_back(Make<CFakeMoniker>(name, bag, nullptr));
  }
  void AddTuner(const WideText& friendlyName, bool bindable = true) {
    const std::string name = "T" + std::to_string(m_pTuners->monikers.size() + 1);
    CFakeBag* bag = Make<CFakeBag>(name + "b");
    bag->values = {{"FriendlyName", friendlyName}};
    CFakeFilter* filter = bindable ? Make<CFakeFilter>(name + "f") : nullptr;
    m_pTuners->monikers.push_back(Make<CFakeMoniker>(name, bag, filter));
  }
  // The board as installed: its receiver (lower-case path) and tuner 1.
  void InstallBoard() {
    AddReceiver(Wide("\\\\?\\pci#ven_14f1&dev_8852&subsys_2a6c5e1d&rev_04#4&2f1c&0&00e4#{fd0a}"),
                Wide("Travune BDA Receiver"));
    AddTuner(Wide("Travune Digital Tuner 1 (DVB-T)"));
  }

  // "<object>+<references> " for each object held, in creation order, and
  // "over-released " if that happened: "" when all is clean.
  std::string State() const {
    std::string state;
    for (const auto& object : m_objects) state += object->Held();
    return overReleases != 0 ? state + "over-released " : state;
  }

 private:
  template <typename Object, typename... Arguments>
  Object* Make(Arguments&&... arguments) {
    m_objects.push_back(std::make_unique<Object>(*this, std::forward<Arguments>(arguments)...));
    return static_cast<Object*>(m_objects.back().get());
  }
  static inline CFakeComWorld* m_pCurrent = nullptr;
  static HRESULT Create(REFCLSID classId, IUnknown*, DWORD context, REFIID riid, void** object) {
    CFakeComWorld& world = *m_pCurrent;
    const bool devices = classId == CLSID_SystemDeviceEnum, graph = classId == CLSID_FilterGraph;
    const char* name = devices ? "SystemDeviceEnum"
                       : graph ? "FilterGraph"
                               : "CaptureGraphBuilder2";
    *object = nullptr;
    if (const HRESULT failure =
            world.Enter("new(" + std::string(name) + "," + std::to_string(context) + ")")) {
      return failure;
    }
    if (devices && riid == IID_ICreateDevEnum) *object = world.m_pDevices->Share();
    if (graph && riid == IID_IGraphBuilder) *object = world.m_pGraph->Share();
    if (classId == CLSID_CaptureGraphBuilder2 && riid == IID_ICaptureGraphBuilder2) {
      *object = world.m_pBuilder->Share();
    }
    return *object != nullptr ? S_OK : E_NOINTERFACE;
  }

  std::vector<std::unique_ptr<CFakeObject>> m_objects;
  CFakeMonikers* m_pReceivers;
  CFakeMonikers* m_pTuners;
  CFakeDevices* m_pDevices;
  CFakeGraph* m_pGraph;
  CFakeBuilder* m_pBuilder;
};
