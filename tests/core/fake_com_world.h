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
const std::u16string kNullString = u"\1null", kNumber = u"\1number";
inline std::u16string Wide(const std::string& ascii) { return {ascii.begin(), ascii.end()}; }

inline std::string Narrow(const OLECHAR* text) {
  std::string narrow;
  for (; text != nullptr && *text != 0; ++text) narrow += *text < 0x80 ? char(*text) : '?';
  return narrow;
}

struct FakeCalls {
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
class FakeObject {
 public:
  FakeObject(FakeCalls& log, std::string name) : log_(log), name_(std::move(name)) {}
  virtual ~FakeObject() = default;
  std::string Held() const { return held_ ? name_ + "+" + std::to_string(held_) + " " : ""; }

 protected:
  HRESULT Fail(const std::string& method) { return log_.Enter(name_ + "." + method); }
  FakeCalls& log_;
  std::string name_;
  ULONG held_ = 0;
};

template <typename Interface>
struct Fake : Interface, FakeObject {
  using FakeObject::FakeObject;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++held_; }
  ULONG STDMETHODCALLTYPE Release() override {
    log_.calls += name_ + ".Release ";
    return held_ != 0 ? --held_ : (++log_.overReleases, 0);
  }
  Interface* Share() { return AddRef(), this; }
};

struct FakeBag : Fake<IPropertyBag> {
  using Fake::Fake;
  std::vector<std::pair<std::string, std::u16string>> values;
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR property, VARIANT* value, IErrorLog*) override {
    if (const HRESULT failure = Fail("Read(" + Narrow(property) + ")")) return failure;
    for (const auto& [name, stored] : values) {
      if (name != Narrow(property)) continue;
      value->vt = stored == kNumber ? VT_I4 : VT_BSTR;
      value->bstrVal = stored[0] != 1 ? SysAllocString(stored.c_str()) : nullptr;
      if (stored == kNumber) value->lVal = 0x14F1;
      return S_OK;
    }
    return E_INVALIDARG;
  }
  NOT_CALLED(Write(LPCOLESTR, VARIANT*))
};

struct FakeFilter : Fake<IBaseFilter> {
  using Fake::Fake;
  NOT_CALLED3(GetClassID(CLSID*), Stop(), Pause())
  NOT_CALLED3(Run(REFERENCE_TIME), GetState(DWORD, FILTER_STATE*), SetSyncSource(IReferenceClock*))
  NOT_CALLED3(GetSyncSource(IReferenceClock**), EnumPins(IEnumPins**), FindPin(LPCWSTR, IPin**))
  NOT_CALLED2(QueryFilterInfo(FILTER_INFO*), JoinFilterGraph(IFilterGraph*, LPCWSTR))
  NOT_CALLED(QueryVendorInfo(LPWSTR*))
};

// Binds to its bag and its filter; without a filter, BindToObject fails.
struct FakeMoniker : Fake<IMoniker> {
  FakeMoniker(FakeCalls& log, std::string name, FakeBag* bag, FakeFilter* filter)
      : Fake(log, std::move(name)), bag_(bag), filter_(filter) {}
  HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx* context, IMoniker* left, REFIID riid,
                                          void** object) override {
    return Bind("BindToStorage", context, left, riid == IID_IPropertyBag, bag_, object);
  }
  HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx* context, IMoniker* left, REFIID riid,
                                         void** object) override {
    return Bind("BindToObject", context, left, riid == IID_IBaseFilter, filter_, object);
  }
  NOT_CALLED3(GetClassID(CLSID*), IsDirty(), Load(IStream*))
  NOT_CALLED2(Save(IStream*, BOOL), GetSizeMax(ULARGE_INTEGER*))
  NOT_CALLED(Reduce(IBindCtx*, DWORD, IMoniker**, IMoniker**))
  NOT_CALLED3(ComposeWith(IMoniker*, BOOL, IMoniker**), Enum(BOOL, void**), IsEqual(IMoniker*))
  NOT_CALLED2(Hash(DWORD*), IsRunning(IBindCtx*, IMoniker*, IMoniker*))
  NOT_CALLED2(GetTimeOfLastChange(IBindCtx*, IMoniker*, FILETIME*), Inverse(IMoniker**))
  NOT_CALLED2(CommonPrefixWith(IMoniker*, IMoniker**), RelativePathTo(IMoniker*, IMoniker**))
  NOT_CALLED(GetDisplayName(IBindCtx*, IMoniker*, LPWSTR*))
  NOT_CALLED(ParseDisplayName(IBindCtx*, IMoniker*, LPWSTR, ULONG*, IMoniker**))
  NOT_CALLED(IsSystemMoniker(DWORD*))

 private:
  template <typename Target>
  HRESULT Bind(const char* method, IBindCtx* context, IMoniker* left, bool wanted,
               Fake<Target>* target, void** object) {
    *object = nullptr;
    if (const HRESULT failure = Fail(method)) return failure;
    if (context != nullptr || left != nullptr || !wanted) return E_INVALIDARG;
    if (target == nullptr) return E_FAIL;
    *object = target->Share();
    return S_OK;
  }
  FakeBag* bag_;
  FakeFilter* filter_;
};

struct FakeMonikers : Fake<IEnumMoniker> {
  using Fake::Fake;
  std::vector<FakeMoniker*> monikers;
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
struct FakeDevices : Fake<ICreateDevEnum> {
  FakeDevices(FakeCalls& log, FakeMonikers* receivers, FakeMonikers* tuners)
      : Fake(log, "devenum"), receivers_(receivers), tuners_(tuners) {}
  HRESULT STDMETHODCALLTYPE CreateClassEnumerator(REFCLSID category, IEnumMoniker** enumerator,
                                                  DWORD flags) override {
    static const GUID kReceivers = {
        0xFD0A5AF4, 0xB41D, 0x11D2, {0x9C, 0x95, 0x00, 0xC0, 0x4F, 0x79, 0x71, 0xE0}};
    static const GUID kTuners = {
        0x71985F48, 0x1CA1, 0x11D3, {0x9C, 0xC8, 0x00, 0xC0, 0x4F, 0x79, 0x71, 0xE0}};
    FakeMonikers* monikers = category == kReceivers ? receivers_
                             : category == kTuners  ? tuners_
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
  FakeMonikers* receivers_;
  FakeMonikers* tuners_;
};

struct FakePropertySet : Fake<IKsPropertySet> {
  using Fake::Fake;
  NOT_CALLED(Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD))
  NOT_CALLED(Get(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD, DWORD*))
  NOT_CALLED(QuerySupported(REFGUID, DWORD, DWORD*))
};

// Refuses a null filter; the call names the name the filter was offered under.
struct FakeGraph : Fake<IGraphBuilder> {
  using Fake::Fake;
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
  NOT_CALLED3(AddSourceFilter(LPCWSTR, LPCWSTR, IBaseFilter**), SetLogFile(uintptr_t), Abort())
  NOT_CALLED(ShouldOperationContinue())
};

// Exposes the driver's property set for the filter added to the graph.
struct FakeBuilder : Fake<ICaptureGraphBuilder2> {
  FakeBuilder(FakeCalls& log, FakeGraph* graph, FakePropertySet* propertySet)
      : Fake(log, "builder"), graph_(graph), propertySet_(propertySet) {}
  HRESULT STDMETHODCALLTYPE SetFiltergraph(IGraphBuilder* graph) override {
    if (const HRESULT failure = Fail("SetFiltergraph")) return failure;
    return graph == graph_ ? S_OK : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE FindInterface(const GUID* category, const GUID* type,
                                          IBaseFilter* filter, REFIID riid,
                                          void** object) override {
    *object = nullptr;
    if (const HRESULT failure = Fail("FindInterface")) return failure;
    if (category == nullptr || *category != PIN_CATEGORY_CAPTURE || type != nullptr ||
        filter == nullptr || filter != graph_->added || riid != IID_IKsPropertySet) {
      return E_NOINTERFACE;
    }
    *object = propertySet_->Share();
    return S_OK;
  }
  NOT_CALLED(GetFiltergraph(IGraphBuilder**))
  NOT_CALLED(SetOutputFileName(const GUID*, LPCOLESTR, IBaseFilter**, IFileSinkFilter**))
  NOT_CALLED(RenderStream(const GUID*, const GUID*, IUnknown*, IBaseFilter*, IBaseFilter*))
  NOT_CALLED(ControlStream(const GUID*, const GUID*, IBaseFilter*, REFERENCE_TIME*, REFERENCE_TIME*,
                           WORD, WORD))
  NOT_CALLED(AllocCapFile(LPCOLESTR, uint64_t))
  NOT_CALLED(CopyCaptureFile(LPOLESTR, LPOLESTR, int, IAMCopyCaptureFileProgress*))
  NOT_CALLED(FindPin(IUnknown*, int, const GUID*, const GUID*, BOOL, int, IPin**))

 private:
  FakeGraph* graph_;
  FakePropertySet* propertySet_;
};

struct FakeComWorld : FakeCalls {
  FakeComWorld() {
    receivers_ = Make<FakeMonikers>("receivers");
    tuners_ = Make<FakeMonikers>("tuners");
    devices_ = Make<FakeDevices>(receivers_, tuners_);
    graph_ = Make<FakeGraph>("graph");
    builder_ = Make<FakeBuilder>(graph_, Make<FakePropertySet>("propset"));
    current_ = this;
    SetComInstanceCreator(Create);
    SetDebugLogSink([](const char* text) { current_->debugLog += text; });
  }
  ~FakeComWorld() {
    SetComInstanceCreator(nullptr);
    SetDebugLogSink(nullptr);
  }

  void AddReceiver(const std::u16string& devicePath, const std::u16string& friendlyName) {
    const std::string name = "R" + std::to_string(receivers_->monikers.size() + 1);
    FakeBag* bag = Make<FakeBag>(name + "b");
    bag->values = {{"DevicePath", devicePath}, {"FriendlyName", friendlyName}};
    receivers_->monikers.push_back(Make<FakeMoniker>(name, bag, nullptr));
  }
  void AddTuner(const std::u16string& friendlyName, bool bindable = true) {
    const std::string name = "T" + std::to_string(tuners_->monikers.size() + 1);
    FakeBag* bag = Make<FakeBag>(name + "b");
    bag->values = {{"FriendlyName", friendlyName}};
    FakeFilter* filter = bindable ? Make<FakeFilter>(name + "f") : nullptr;
    tuners_->monikers.push_back(Make<FakeMoniker>(name, bag, filter));
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
    for (const auto& object : objects_) state += object->Held();
    return overReleases != 0 ? state + "over-released " : state;
  }

 private:
  template <typename Object, typename... Arguments>
  Object* Make(Arguments&&... arguments) {
    objects_.push_back(std::make_unique<Object>(*this, std::forward<Arguments>(arguments)...));
    return static_cast<Object*>(objects_.back().get());
  }
  static inline FakeComWorld* current_ = nullptr;
  static HRESULT Create(REFCLSID classId, IUnknown*, DWORD context, REFIID riid, void** object) {
    FakeComWorld& world = *current_;
    const bool devices = classId == CLSID_SystemDeviceEnum, graph = classId == CLSID_FilterGraph;
    const char* name = devices ? "SystemDeviceEnum"
                       : graph ? "FilterGraph"
                               : "CaptureGraphBuilder2";
    *object = nullptr;
    if (const HRESULT failure =
            world.Enter("new(" + std::string(name) + "," + std::to_string(context) + ")")) {
      return failure;
    }
    if (devices && riid == IID_ICreateDevEnum) *object = world.devices_->Share();
    if (graph && riid == IID_IGraphBuilder) *object = world.graph_->Share();
    if (classId == CLSID_CaptureGraphBuilder2 && riid == IID_ICaptureGraphBuilder2) {
      *object = world.builder_->Share();
    }
    return *object != nullptr ? S_OK : E_NOINTERFACE;
  }

  std::vector<std::unique_ptr<FakeObject>> objects_;
  FakeMonikers* receivers_;
  FakeMonikers* tuners_;
  FakeDevices* devices_;
  FakeGraph* graph_;
  FakeBuilder* builder_;
};
