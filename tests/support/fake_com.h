// Fake COM objects standing in for the media framework: the system device
// enumerator with its monikers and property bags, the filter graph, the
// capture graph builder, a filter and the driver's property set.
//
// Every fake counts its references (the test's own reference is the first,
// so an object nobody else holds has exactly 1) and records each call in a
// shared FakeCallLog as "<name>.<Method>", which can make it fail. A Release
// that would drop the test's own reference is counted as an over-release
// instead. Objects are never freed by Release; FakeComWorld owns them.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "com_instance.h"
#include "fake_call_log.h"
#include "travune_platform.h"

typedef std::basic_string<WCHAR> FakeWideString;

#ifdef _WIN32
typedef PIN_DIRECTION FakePinDirection;
typedef IEnumMoniker* FakeEnumMonikerResult;
typedef DWORD_PTR FakeLogFileHandle;
typedef DWORDLONG FakeFileSize;
#else
typedef int FakePinDirection;
typedef void* FakeEnumMonikerResult;
typedef uintptr_t FakeLogFileHandle;
typedef uint64_t FakeFileSize;
#endif

class FakeReferences {
 public:
  FakeReferences(FakeCallLog& log, std::string name) : log_(log), name_(std::move(name)) {}
  virtual ~FakeReferences() = default;

  const std::string& Name() const { return name_; }
  // References held by anyone but the test.
  ULONG ExtraReferences() const { return references_ - 1; }
  int OverReleases() const { return overReleases_; }

 protected:
  ULONG AddReference() { return ++references_; }
  ULONG ReleaseReference();
  // Records a failable call "<name>.<method>".
  bool Enter(const std::string& method, HRESULT* failure) {
    return log_.Enter(name_ + "." + method, failure);
  }

  FakeCallLog& log_;

 private:
  std::string name_;
  ULONG references_ = 1;
  int overReleases_ = 0;
};

template <typename Interface>
class FakeUnknown : public Interface, public FakeReferences {
 public:
  FakeUnknown(FakeCallLog& log, std::string name, const IID& iid)
      : FakeReferences(log, std::move(name)), iid_(iid) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (!IsEqualGUID(riid, IID_IUnknown) && !IsEqualGUID(riid, iid_)) return E_NOINTERFACE;
    *object = static_cast<Interface*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return AddReference(); }
  ULONG STDMETHODCALLTYPE Release() override { return ReleaseReference(); }

  // Hands out a new reference to this object.
  Interface* Share() {
    AddRef();
    return this;
  }

 private:
  IID iid_;
};

// A value a property bag holds.
struct FakeProperty {
  enum class Kind { Missing, String, NullString, Integer };
  static FakeProperty Text(const FakeWideString& text) { return {Kind::String, text, 0}; }
  static FakeProperty NullText() { return {Kind::NullString, FakeWideString(), 0}; }
  static FakeProperty Number(LONG number) { return {Kind::Integer, FakeWideString(), number}; }
  Kind kind = Kind::Missing;
  FakeWideString text;
  LONG number = 0;
};

class FakePropertyBag : public FakeUnknown<IPropertyBag> {
 public:
  FakePropertyBag(FakeCallLog& log, std::string name);
  void Set(const FakeWideString& property, const FakeProperty& value);

  // Read: "<name>.Read(<property>)"; a missing property gives E_INVALIDARG.
  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR property, VARIANT* value, IErrorLog* errors) override;
  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR, VARIANT*) override { return E_NOTIMPL; }

  // Reads into a value holder that was not empty (its old value would leak).
  int ReadsIntoUsedHolder() const { return readsIntoUsedHolder_; }

 private:
  std::vector<std::pair<FakeWideString, FakeProperty>> properties_;
  int readsIntoUsedHolder_ = 0;
};

class FakeFilter : public FakeUnknown<IBaseFilter> {
 public:
  FakeFilter(FakeCallLog& log, std::string name);
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Stop() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Pause() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetState(DWORD, FILTER_STATE*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR, IPin**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph*, LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }
};

class FakeMoniker : public FakeUnknown<IMoniker> {
 public:
  // A null bag or filter makes that binding fail with E_FAIL.
  FakeMoniker(FakeCallLog& log, std::string name, FakePropertyBag* bag, FakeFilter* filter);

  HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx* context, IMoniker* left, REFIID riid,
                                         void** object) override;
  HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx* context, IMoniker* left, REFIID riid,
                                          void** object) override;

  HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE IsDirty() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Load(IStream*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Save(IStream*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reduce(IBindCtx*, DWORD, IMoniker**, IMoniker**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ComposeWith(IMoniker*, BOOL, IMoniker**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Enum(BOOL, FakeEnumMonikerResult*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE IsEqual(IMoniker*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Hash(DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE IsRunning(IBindCtx*, IMoniker*, IMoniker*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetTimeOfLastChange(IBindCtx*, IMoniker*, FILETIME*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Inverse(IMoniker**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CommonPrefixWith(IMoniker*, IMoniker**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RelativePathTo(IMoniker*, IMoniker**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetDisplayName(IBindCtx*, IMoniker*, LPWSTR*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx*, IMoniker*, LPWSTR, ULONG*,
                                             IMoniker**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE IsSystemMoniker(DWORD*) override { return E_NOTIMPL; }

 private:
  FakePropertyBag* bag_;
  FakeFilter* filter_;
};

class FakeMonikerEnumerator : public FakeUnknown<IEnumMoniker> {
 public:
  FakeMonikerEnumerator(FakeCallLog& log, std::string name);
  void Add(FakeMoniker* moniker) { monikers_.push_back(moniker); }
  // Starts the walk over; each CreateClassEnumerator hands out a fresh walk.
  void Restart() { next_ = 0; }

  // Next: S_OK with the next moniker, S_FALSE after the last one.
  HRESULT STDMETHODCALLTYPE Next(ULONG count, IMoniker** monikers, ULONG* fetched) override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reset() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Clone(IEnumMoniker**) override { return E_NOTIMPL; }

 private:
  std::vector<FakeMoniker*> monikers_;
  size_t next_ = 0;
};

class FakeDeviceEnumerator : public FakeUnknown<ICreateDevEnum> {
 public:
  FakeDeviceEnumerator(FakeCallLog& log, std::string name);
  // A category without an enumerator answers S_FALSE, as for one with no
  // registered members.
  void AddCategory(const GUID& category, FakeMonikerEnumerator* monikers);

  HRESULT STDMETHODCALLTYPE CreateClassEnumerator(REFCLSID category, IEnumMoniker** enumerator,
                                                  DWORD flags) override;
  const std::vector<DWORD>& FlagsSeen() const { return flagsSeen_; }

 private:
  std::vector<std::pair<GUID, FakeMonikerEnumerator*>> categories_;
  std::vector<DWORD> flagsSeen_;
};

class FakePropertySet : public FakeUnknown<IKsPropertySet> {
 public:
  FakePropertySet(FakeCallLog& log, std::string name);
  HRESULT STDMETHODCALLTYPE Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Get(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD, DWORD*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID, DWORD, DWORD*) override { return E_NOTIMPL; }
};

class FakeFilterGraph : public FakeUnknown<IGraphBuilder> {
 public:
  FakeFilterGraph(FakeCallLog& log, std::string name);

  // AddFilter: a null filter is refused with E_POINTER.
  HRESULT STDMETHODCALLTYPE AddFilter(IBaseFilter* filter, LPCWSTR name) override;
  // Names under which AddFilter was called, accepted or not.
  const std::vector<FakeWideString>& NamesOffered() const { return namesOffered_; }
  const std::vector<IBaseFilter*>& FiltersAdded() const { return filtersAdded_; }

  HRESULT STDMETHODCALLTYPE RemoveFilter(IBaseFilter*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFilters(IEnumFilters**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE FindFilterByName(LPCWSTR, IBaseFilter**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ConnectDirect(IPin*, IPin*, const AM_MEDIA_TYPE*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Reconnect(IPin*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Disconnect(IPin*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetDefaultSyncSource() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Connect(IPin*, IPin*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Render(IPin*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RenderFile(LPCWSTR, LPCWSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE AddSourceFilter(LPCWSTR, LPCWSTR, IBaseFilter**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE SetLogFile(FakeLogFileHandle) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Abort() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ShouldOperationContinue() override { return E_NOTIMPL; }

 private:
  std::vector<FakeWideString> namesOffered_;
  std::vector<IBaseFilter*> filtersAdded_;
};

class FakeCaptureGraphBuilder : public FakeUnknown<ICaptureGraphBuilder2> {
 public:
  FakeCaptureGraphBuilder(FakeCallLog& log, std::string name);
  // FindInterface answers IID_IKsPropertySet for the capture pin category
  // of this filter with propertySet, and E_NOINTERFACE for anything else.
  void ExposePropertySet(IBaseFilter* filter, FakePropertySet* propertySet);

  HRESULT STDMETHODCALLTYPE SetFiltergraph(IGraphBuilder* graph) override;
  HRESULT STDMETHODCALLTYPE FindInterface(const GUID* category, const GUID* type,
                                          IBaseFilter* filter, REFIID riid, void** object) override;
  IGraphBuilder* AttachedGraph() const { return attached_; }

  HRESULT STDMETHODCALLTYPE GetFiltergraph(IGraphBuilder**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetOutputFileName(const GUID*, LPCOLESTR, IBaseFilter**,
                                              IFileSinkFilter**) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE RenderStream(const GUID*, const GUID*, IUnknown*, IBaseFilter*,
                                         IBaseFilter*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE ControlStream(const GUID*, const GUID*, IBaseFilter*, REFERENCE_TIME*,
                                          REFERENCE_TIME*, WORD, WORD) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE AllocCapFile(LPCOLESTR, FakeFileSize) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CopyCaptureFile(LPOLESTR, LPOLESTR, int,
                                            IAMCopyCaptureFileProgress*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE FindPin(IUnknown*, FakePinDirection, const GUID*, const GUID*, BOOL,
                                    int, IPin**) override {
    return E_NOTIMPL;
  }

 private:
  IGraphBuilder* attached_ = nullptr;
  IBaseFilter* exposingFilter_ = nullptr;
  FakePropertySet* propertySet_ = nullptr;
};

// Owns a set of fakes, installs itself as the COM object creator while it
// lives, and answers CoCreateInstance for the classes registered with it.
// Creation is recorded as "CoCreateInstance(<class>, <context>)".
class FakeComWorld {
 public:
  FakeComWorld();
  ~FakeComWorld();
  FakeComWorld(const FakeComWorld&) = delete;
  FakeComWorld& operator=(const FakeComWorld&) = delete;

  FakeCallLog& Log() { return log_; }

  template <typename Fake, typename... Arguments>
  Fake* Make(Arguments&&... arguments) {
    auto fake = std::make_unique<Fake>(log_, std::forward<Arguments>(arguments)...);
    Fake* raw = fake.get();
    fakes_.push_back(std::move(fake));
    return raw;
  }

  // The object CoCreateInstance hands out (through its QueryInterface).
  void Register(const CLSID& classId, const char* className, IUnknown* object);

  // "name+N" for every fake that someone other than the test holds N
  // references to, in creation order.
  std::vector<std::string> HeldReferences() const;
  int OverReleases() const;
  int ReadsIntoUsedHolder() const;

 private:
  struct Registration {
    CLSID classId;
    std::string className;
    IUnknown* object;
  };
  static HRESULT Create(REFCLSID classId, IUnknown* outer, DWORD context, REFIID riid,
                        void** object);

  FakeCallLog log_;
  std::vector<std::unique_ptr<FakeReferences>> fakes_;
  std::vector<Registration> registrations_;
  ComInstanceCreator previousCreator_;
};

// Text of a wide string with every character below 0x80 kept and the rest
// shown as '?', for log entries and messages.
std::string FakeNarrow(const WCHAR* text);
