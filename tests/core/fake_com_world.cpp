#include "fake_com_world.h"

#include "com_instance.h"
#include "debug_log.h"

// For the methods the device code never calls.
#define NOT_CALLED(signature) \
  HRESULT STDMETHODCALLTYPE signature override { return E_NOTIMPL; }

namespace {

FakeComWorld* g_world = nullptr;

const GUID kReceivers = {
    0xFD0A5AF4, 0xB41D, 0x11D2, {0x9C, 0x95, 0x00, 0xC0, 0x4F, 0x79, 0x71, 0xE0}};
const GUID kTuners = {0x71985F48, 0x1CA1, 0x11D3, {0x9C, 0xC8, 0x00, 0xC0, 0x4F, 0x79, 0x71, 0xE0}};

std::string Narrow(const OLECHAR* text) {
  std::string narrow;
  for (; text != nullptr && *text != 0; ++text) narrow += *text < 0x80 ? char(*text) : '?';
  return narrow;
}

}  // namespace

class FakeObject {
 public:
  FakeObject(FakeComWorld& world, std::string name) : world_(world), name_(std::move(name)) {}
  virtual ~FakeObject() = default;
  std::string Held() const { return held_ ? name_ + "+" + std::to_string(held_) + " " : ""; }

 protected:
  bool Fail(const std::string& method, HRESULT* result) {
    return world_.Enter(name_ + "." + method, result);
  }
  ULONG Drop() {
    world_.calls += name_ + ".Release ";
    if (held_ != 0) return --held_;
    ++world_.overReleases;
    return 0;
  }
  FakeComWorld& world_;
  std::string name_;
  ULONG held_ = 0;
};

template <typename Interface>
class Fake : public Interface, public FakeObject {
 public:
  using FakeObject::FakeObject;
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++held_; }
  ULONG STDMETHODCALLTYPE Release() override { return Drop(); }
  Interface* Share() {
    ++held_;
    return this;
  }
};

class FakeBag : public Fake<IPropertyBag> {
 public:
  using Fake::Fake;
  std::vector<std::pair<std::string, FakeValue>> values;
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR property, VARIANT* value, IErrorLog*) override {
    HRESULT result = S_OK;
    if (Fail("Read(" + Narrow(property) + ")", &result)) return result;
    if (value->vt != VT_EMPTY) ++world_.dirtyReads;
    for (const auto& entry : values) {
      if (entry.first != Narrow(property) || entry.second.kind == FakeValue::Missing) continue;
      const FakeValue& stored = entry.second;
      value->vt = stored.kind == FakeValue::Number ? VT_I4 : VT_BSTR;
      value->bstrVal =
          stored.kind == FakeValue::String ? SysAllocString(stored.text.c_str()) : nullptr;
      if (stored.kind == FakeValue::Number) value->lVal = 0x14F1;
      return S_OK;
    }
    return E_INVALIDARG;
  }
  NOT_CALLED(Write(LPCOLESTR, VARIANT*))
};

class FakeFilter : public Fake<IBaseFilter> {
 public:
  using Fake::Fake;
  NOT_CALLED(GetClassID(CLSID*))
  NOT_CALLED(Stop())
  NOT_CALLED(Pause())
  NOT_CALLED(Run(REFERENCE_TIME))
  NOT_CALLED(GetState(DWORD, FILTER_STATE*))
  NOT_CALLED(SetSyncSource(IReferenceClock*))
  NOT_CALLED(GetSyncSource(IReferenceClock**))
  NOT_CALLED(EnumPins(IEnumPins**))
  NOT_CALLED(FindPin(LPCWSTR, IPin**))
  NOT_CALLED(QueryFilterInfo(FILTER_INFO*))
  NOT_CALLED(JoinFilterGraph(IFilterGraph*, LPCWSTR))
  NOT_CALLED(QueryVendorInfo(LPWSTR*))
};

class FakeMoniker : public Fake<IMoniker> {
 public:
  FakeMoniker(FakeComWorld& world, std::string name, FakeBag* bag, FakeFilter* filter)
      : Fake(world, std::move(name)), bag_(bag), filter_(filter) {}
  HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx* context, IMoniker* left, REFIID riid,
                                          void** object) override {
    return Bind("BindToStorage", context, left, riid, IID_IPropertyBag, bag_, object);
  }
  HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx* context, IMoniker* left, REFIID riid,
                                         void** object) override {
    return Bind("BindToObject", context, left, riid, IID_IBaseFilter, filter_, object);
  }
  NOT_CALLED(GetClassID(CLSID*))
  NOT_CALLED(IsDirty())
  NOT_CALLED(Load(IStream*))
  NOT_CALLED(Save(IStream*, BOOL))
  NOT_CALLED(GetSizeMax(ULARGE_INTEGER*))
  NOT_CALLED(Reduce(IBindCtx*, DWORD, IMoniker**, IMoniker**))
  NOT_CALLED(ComposeWith(IMoniker*, BOOL, IMoniker**))
  NOT_CALLED(Enum(BOOL, void**))
  NOT_CALLED(IsEqual(IMoniker*))
  NOT_CALLED(Hash(DWORD*))
  NOT_CALLED(IsRunning(IBindCtx*, IMoniker*, IMoniker*))
  NOT_CALLED(GetTimeOfLastChange(IBindCtx*, IMoniker*, FILETIME*))
  NOT_CALLED(Inverse(IMoniker**))
  NOT_CALLED(CommonPrefixWith(IMoniker*, IMoniker**))
  NOT_CALLED(RelativePathTo(IMoniker*, IMoniker**))
  NOT_CALLED(GetDisplayName(IBindCtx*, IMoniker*, LPWSTR*))
  NOT_CALLED(ParseDisplayName(IBindCtx*, IMoniker*, LPWSTR, ULONG*, IMoniker**))
  NOT_CALLED(IsSystemMoniker(DWORD*))

 private:
  template <typename Target>
  HRESULT Bind(const char* method, IBindCtx* context, IMoniker* left, REFIID riid, REFIID wanted,
               Fake<Target>* target, void** object) {
    HRESULT result = S_OK;
    *object = nullptr;
    if (Fail(method, &result)) return result;
    if (context != nullptr || left != nullptr || riid != wanted) return E_INVALIDARG;
    if (target == nullptr) return E_FAIL;
    *object = target->Share();
    return S_OK;
  }
  FakeBag* bag_;
  FakeFilter* filter_;
};

class FakeMonikers : public Fake<IEnumMoniker> {
 public:
  using Fake::Fake;
  std::vector<FakeMoniker*> monikers;
  size_t next = 0;
  HRESULT STDMETHODCALLTYPE Next(ULONG count, IMoniker** moniker, ULONG* fetched) override {
    HRESULT result = S_OK;
    *moniker = nullptr;
    if (Fail("Next", &result)) return result;
    if (count != 1 || next == monikers.size()) return S_FALSE;
    *moniker = monikers[next++]->Share();
    if (fetched != nullptr) *fetched = 1;
    return S_OK;
  }
  NOT_CALLED(Skip(ULONG))
  NOT_CALLED(Reset())
  NOT_CALLED(Clone(IEnumMoniker**))
};

class FakeDevices : public Fake<ICreateDevEnum> {
 public:
  FakeDevices(FakeComWorld& world, FakeMonikers* receivers, FakeMonikers* tuners)
      : Fake(world, "devenum"), receivers_(receivers), tuners_(tuners) {}
  // A category without members answers S_FALSE and no enumerator.
  HRESULT STDMETHODCALLTYPE CreateClassEnumerator(REFCLSID category, IEnumMoniker** enumerator,
                                                  DWORD flags) override {
    FakeMonikers* monikers = category == kReceivers ? receivers_
                             : category == kTuners  ? tuners_
                                                    : nullptr;
    const char* name = monikers == receivers_ ? "receivers" : monikers ? "tuners" : "?";
    HRESULT result = S_OK;
    *enumerator = nullptr;
    if (Fail("CreateClassEnumerator(" + std::string(name) + "," + std::to_string(flags) + ")",
             &result)) {
      return result;
    }
    if (monikers == nullptr || monikers->monikers.empty()) return S_FALSE;
    monikers->next = 0;
    *enumerator = monikers->Share();
    return S_OK;
  }

 private:
  FakeMonikers* receivers_;
  FakeMonikers* tuners_;
};

class FakePropertySet : public Fake<IKsPropertySet> {
 public:
  using Fake::Fake;
  NOT_CALLED(Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD))
  NOT_CALLED(Get(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD, DWORD*))
  NOT_CALLED(QuerySupported(REFGUID, DWORD, DWORD*))
};

class FakeGraph : public Fake<IGraphBuilder> {
 public:
  using Fake::Fake;
  IBaseFilter* added = nullptr;
  HRESULT STDMETHODCALLTYPE AddFilter(IBaseFilter* filter, LPCWSTR name) override {
    HRESULT result = S_OK;
    if (Fail("AddFilter(" + Narrow(name) + ")", &result)) return result;
    if (filter == nullptr) return E_POINTER;
    added = filter;
    return S_OK;
  }
  NOT_CALLED(RemoveFilter(IBaseFilter*))
  NOT_CALLED(EnumFilters(IEnumFilters**))
  NOT_CALLED(FindFilterByName(LPCWSTR, IBaseFilter**))
  NOT_CALLED(ConnectDirect(IPin*, IPin*, const AM_MEDIA_TYPE*))
  NOT_CALLED(Reconnect(IPin*))
  NOT_CALLED(Disconnect(IPin*))
  NOT_CALLED(SetDefaultSyncSource())
  NOT_CALLED(Connect(IPin*, IPin*))
  NOT_CALLED(Render(IPin*))
  NOT_CALLED(RenderFile(LPCWSTR, LPCWSTR))
  NOT_CALLED(AddSourceFilter(LPCWSTR, LPCWSTR, IBaseFilter**))
  NOT_CALLED(SetLogFile(uintptr_t))
  NOT_CALLED(Abort())
  NOT_CALLED(ShouldOperationContinue())
};

// Exposes the driver's property set for the filter in the attached graph.
class FakeBuilder : public Fake<ICaptureGraphBuilder2> {
 public:
  FakeBuilder(FakeComWorld& world, FakeGraph* graph, FakePropertySet* propertySet)
      : Fake(world, "builder"), graph_(graph), propertySet_(propertySet) {}
  HRESULT STDMETHODCALLTYPE SetFiltergraph(IGraphBuilder* graph) override {
    HRESULT result = S_OK;
    if (Fail("SetFiltergraph", &result)) return result;
    attached_ = graph == graph_;
    return attached_ ? S_OK : E_INVALIDARG;
  }
  HRESULT STDMETHODCALLTYPE FindInterface(const GUID* category, const GUID* type,
                                          IBaseFilter* filter, REFIID riid,
                                          void** object) override {
    HRESULT result = S_OK;
    *object = nullptr;
    if (Fail("FindInterface", &result)) return result;
    if (!attached_ || category == nullptr || *category != PIN_CATEGORY_CAPTURE || type != nullptr ||
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
  bool attached_ = false;
};

template <typename Fake, typename... Arguments>
Fake* FakeComWorld::Make(Arguments&&... arguments) {
  objects_.push_back(std::make_unique<Fake>(*this, std::forward<Arguments>(arguments)...));
  return static_cast<Fake*>(objects_.back().get());
}

FakeComWorld::FakeComWorld() {
  receivers_ = Make<FakeMonikers>("receivers");
  tuners_ = Make<FakeMonikers>("tuners");
  devices_ = Make<FakeDevices>(receivers_, tuners_);
  graph_ = Make<FakeGraph>("graph");
  builder_ = Make<FakeBuilder>(graph_, Make<FakePropertySet>("propset"));
  g_world = this;
  SetComInstanceCreator(Create);
  SetDebugLogSink([](const char* text) { g_world->debugLog += text; });
}

FakeComWorld::~FakeComWorld() {
  SetComInstanceCreator(nullptr);
  SetDebugLogSink(nullptr);
  g_world = nullptr;
}

void FakeComWorld::AddReceiver(const FakeValue& devicePath, const FakeValue& friendlyName) {
  const std::string name = "R" + std::to_string(receivers_->monikers.size() + 1);
  FakeBag* bag = Make<FakeBag>(name + "b");
  bag->values = {{"DevicePath", devicePath}, {"FriendlyName", friendlyName}};
  receivers_->monikers.push_back(Make<FakeMoniker>(name, bag, nullptr));
}

void FakeComWorld::AddTuner(const FakeValue& friendlyName, bool bindable) {
  const std::string name = "T" + std::to_string(tuners_->monikers.size() + 1);
  FakeBag* bag = Make<FakeBag>(name + "b");
  bag->values = {{"FriendlyName", friendlyName}};
  FakeFilter* filter = bindable ? Make<FakeFilter>(name + "f") : nullptr;
  if (filter != nullptr) filters_.push_back(filter);
  tuners_->monikers.push_back(Make<FakeMoniker>(name, bag, filter));
}

void FakeComWorld::InstallBoard() {
  AddReceiver(Text("\\\\?\\pci#ven_14f1&dev_8852&subsys_2a6c5e1d&rev_04#4&2f1c&0&00e4#{fd0a5af4}"),
              Text("Travune BDA Receiver"));
  AddTuner(Text("Travune Digital Tuner 1 (DVB-T)"));
}

std::string FakeComWorld::State() const {
  std::string state;
  for (const auto& object : objects_) state += object->Held();
  if (overReleases != 0) state += "over-released ";
  if (dirtyReads != 0) state += "dirty-holder ";
  return state;
}

bool FakeComWorld::Enter(const std::string& call, HRESULT* result) {
  calls += call + " ";
  failable.push_back(call);
  if (static_cast<int>(failable.size()) - 1 != failAt) return false;
  ++injected;
  *result = failWith;
  return true;
}

HRESULT FakeComWorld::Create(REFCLSID classId, IUnknown*, DWORD context, REFIID riid,
                             void** object) {
  *object = nullptr;
  const bool devices = classId == CLSID_SystemDeviceEnum, graph = classId == CLSID_FilterGraph;
  const char* name = devices ? "SystemDeviceEnum" : graph ? "FilterGraph" : "CaptureGraphBuilder2";
  HRESULT result = S_OK;
  if (g_world->Enter("new(" + std::string(name) + "," + std::to_string(context) + ")", &result)) {
    return result;
  }
  if (devices && riid == IID_ICreateDevEnum) {
    *object = g_world->devices_->Share();
  } else if (graph && riid == IID_IGraphBuilder) {
    *object = g_world->graph_->Share();
  } else if (classId == CLSID_CaptureGraphBuilder2 && riid == IID_ICaptureGraphBuilder2) {
    *object = g_world->builder_->Share();
  }
  return *object != nullptr ? S_OK : E_NOINTERFACE;
}
