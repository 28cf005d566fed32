#include "fake_com.h"

namespace {
FakeComWorld* g_activeWorld = nullptr;
}  // namespace

std::string FakeNarrow(const WCHAR* text) {
  std::string narrow;
  if (text == nullptr) return narrow;
  for (; *text != 0; ++text) narrow += *text < 0x80 ? static_cast<char>(*text) : '?';
  return narrow;
}

ULONG FakeReferences::ReleaseReference() {
  log_.Note(name_ + ".Release");
  if (references_ <= 1) {
    ++overReleases_;
    return references_;
  }
  return --references_;
}

FakePropertyBag::FakePropertyBag(FakeCallLog& log, std::string name)
    : FakeUnknown(log, std::move(name), IID_IPropertyBag) {}

void FakePropertyBag::Set(const FakeWideString& property, const FakeProperty& value) {
  for (auto& entry : properties_) {
    if (entry.first == property) {
      entry.second = value;
      return;
    }
  }
  properties_.emplace_back(property, value);
}

HRESULT FakePropertyBag::Read(LPCOLESTR property, VARIANT* value, IErrorLog*) {
  HRESULT failure = S_OK;
  if (Enter("Read(" + FakeNarrow(property) + ")", &failure)) return failure;
  if (value == nullptr) return E_POINTER;
  if (value->vt != VT_EMPTY) ++readsIntoUsedHolder_;
  for (const auto& entry : properties_) {
    if (entry.first != property) continue;
    const FakeProperty& stored = entry.second;
    switch (stored.kind) {
      case FakeProperty::Kind::Missing:
        return E_INVALIDARG;
      case FakeProperty::Kind::String:
        value->vt = VT_BSTR;
        value->bstrVal = SysAllocString(stored.text.c_str());
        break;
      case FakeProperty::Kind::NullString:
        value->vt = VT_BSTR;
        value->bstrVal = nullptr;
        break;
      case FakeProperty::Kind::Integer:
        value->vt = VT_I4;
        value->lVal = stored.number;
        break;
    }
    return S_OK;
  }
  return E_INVALIDARG;
}

FakeFilter::FakeFilter(FakeCallLog& log, std::string name)
    : FakeUnknown(log, std::move(name), IID_IBaseFilter) {}

FakeMoniker::FakeMoniker(FakeCallLog& log, std::string name, FakePropertyBag* bag,
                         FakeFilter* filter)
    : FakeUnknown(log, std::move(name), IID_IUnknown), bag_(bag), filter_(filter) {}

HRESULT FakeMoniker::BindToObject(IBindCtx* context, IMoniker* left, REFIID riid, void** object) {
  HRESULT failure = S_OK;
  if (object != nullptr) *object = nullptr;
  if (Enter("BindToObject", &failure)) return failure;
  if (object == nullptr) return E_POINTER;
  if (context != nullptr || left != nullptr) return E_INVALIDARG;
  if (!IsEqualGUID(riid, IID_IBaseFilter)) return E_NOINTERFACE;
  if (filter_ == nullptr) return E_FAIL;
  *object = filter_->Share();
  return S_OK;
}

HRESULT FakeMoniker::BindToStorage(IBindCtx* context, IMoniker* left, REFIID riid, void** object) {
  HRESULT failure = S_OK;
  if (object != nullptr) *object = nullptr;
  if (Enter("BindToStorage", &failure)) return failure;
  if (object == nullptr) return E_POINTER;
  if (context != nullptr || left != nullptr) return E_INVALIDARG;
  if (!IsEqualGUID(riid, IID_IPropertyBag)) return E_NOINTERFACE;
  if (bag_ == nullptr) return E_FAIL;
  *object = bag_->Share();
  return S_OK;
}

FakeMonikerEnumerator::FakeMonikerEnumerator(FakeCallLog& log, std::string name)
    : FakeUnknown(log, std::move(name), IID_IUnknown) {}

HRESULT FakeMonikerEnumerator::Next(ULONG count, IMoniker** monikers, ULONG* fetched) {
  HRESULT failure = S_OK;
  if (fetched != nullptr) *fetched = 0;
  if (monikers != nullptr) *monikers = nullptr;
  if (Enter("Next", &failure)) return failure;
  if (count != 1 || monikers == nullptr) return E_INVALIDARG;
  if (next_ >= monikers_.size()) return S_FALSE;
  *monikers = monikers_[next_++]->Share();
  if (fetched != nullptr) *fetched = 1;
  return S_OK;
}

FakeDeviceEnumerator::FakeDeviceEnumerator(FakeCallLog& log, std::string name)
    : FakeUnknown(log, std::move(name), IID_ICreateDevEnum) {}

void FakeDeviceEnumerator::AddCategory(const GUID& category, FakeMonikerEnumerator* monikers) {
  categories_.emplace_back(category, monikers);
}

HRESULT FakeDeviceEnumerator::CreateClassEnumerator(REFCLSID category, IEnumMoniker** enumerator,
                                                    DWORD flags) {
  HRESULT failure = S_OK;
  if (enumerator != nullptr) *enumerator = nullptr;
  if (Enter("CreateClassEnumerator", &failure)) return failure;
  flagsSeen_.push_back(flags);
  if (enumerator == nullptr) return E_POINTER;
  for (const auto& entry : categories_) {
    if (IsEqualGUID(entry.first, category)) {
      entry.second->Restart();
      *enumerator = entry.second->Share();
      return S_OK;
    }
  }
  return S_FALSE;
}

FakePropertySet::FakePropertySet(FakeCallLog& log, std::string name)
    : FakeUnknown(log, std::move(name), IID_IKsPropertySet) {}

FakeFilterGraph::FakeFilterGraph(FakeCallLog& log, std::string name)
    : FakeUnknown(log, std::move(name), IID_IGraphBuilder) {}

HRESULT FakeFilterGraph::AddFilter(IBaseFilter* filter, LPCWSTR name) {
  HRESULT failure = S_OK;
  namesOffered_.push_back(name != nullptr ? FakeWideString(name) : FakeWideString());
  if (Enter("AddFilter", &failure)) return failure;
  if (filter == nullptr) return E_POINTER;
  filtersAdded_.push_back(filter);
  return S_OK;
}

FakeCaptureGraphBuilder::FakeCaptureGraphBuilder(FakeCallLog& log, std::string name)
    : FakeUnknown(log, std::move(name), IID_ICaptureGraphBuilder2) {}

void FakeCaptureGraphBuilder::ExposePropertySet(IBaseFilter* filter, FakePropertySet* propertySet) {
  exposingFilter_ = filter;
  propertySet_ = propertySet;
}

HRESULT FakeCaptureGraphBuilder::SetFiltergraph(IGraphBuilder* graph) {
  HRESULT failure = S_OK;
  if (Enter("SetFiltergraph", &failure)) return failure;
  attached_ = graph;
  return graph != nullptr ? S_OK : E_POINTER;
}

HRESULT FakeCaptureGraphBuilder::FindInterface(const GUID* category, const GUID* type,
                                               IBaseFilter* filter, REFIID riid, void** object) {
  HRESULT failure = S_OK;
  if (object != nullptr) *object = nullptr;
  if (Enter("FindInterface", &failure)) return failure;
  if (object == nullptr) return E_POINTER;
  if (category == nullptr || !IsEqualGUID(*category, PIN_CATEGORY_CAPTURE) || type != nullptr) {
    return E_INVALIDARG;
  }
  if (filter == nullptr || filter != exposingFilter_ || propertySet_ == nullptr ||
      !IsEqualGUID(riid, IID_IKsPropertySet)) {
    return E_NOINTERFACE;
  }
  *object = static_cast<IKsPropertySet*>(propertySet_->Share());
  return S_OK;
}

FakeComWorld::FakeComWorld() : previousCreator_(nullptr) {
  g_activeWorld = this;
  previousCreator_ = SetComInstanceCreator(Create);
}

FakeComWorld::~FakeComWorld() {
  SetComInstanceCreator(previousCreator_);
  g_activeWorld = nullptr;
}

void FakeComWorld::Register(const CLSID& classId, const char* className, IUnknown* object) {
  registrations_.push_back({classId, className, object});
}

HRESULT FakeComWorld::Create(REFCLSID classId, IUnknown* outer, DWORD context, REFIID riid,
                             void** object) {
  if (object != nullptr) *object = nullptr;
  FakeComWorld* world = g_activeWorld;
  if (world == nullptr) return REGDB_E_CLASSNOTREG;
  for (const Registration& entry : world->registrations_) {
    if (!IsEqualGUID(entry.classId, classId)) continue;
    HRESULT failure = S_OK;
    const std::string call =
        "CoCreateInstance(" + entry.className + ", " + std::to_string(context) + ")";
    if (world->log_.Enter(call, &failure)) return failure;
    if (object == nullptr) return E_POINTER;
    if (outer != nullptr) return E_INVALIDARG;
    return entry.object->QueryInterface(riid, object);
  }
  world->log_.Note("CoCreateInstance(unregistered class)");
  return REGDB_E_CLASSNOTREG;
}

std::vector<std::string> FakeComWorld::HeldReferences() const {
  std::vector<std::string> held;
  for (const auto& fake : fakes_) {
    if (fake->ExtraReferences() != 0) {
      held.push_back(fake->Name() + "+" + std::to_string(fake->ExtraReferences()));
    }
  }
  return held;
}

int FakeComWorld::OverReleases() const {
  int total = 0;
  for (const auto& fake : fakes_) total += fake->OverReleases();
  return total;
}

int FakeComWorld::ReadsIntoUsedHolder() const {
  int total = 0;
  for (const auto& fake : fakes_) {
    if (const auto* bag = dynamic_cast<const FakePropertyBag*>(fake.get())) {
      total += bag->ReadsIntoUsedHolder();
    }
  }
  return total;
}
