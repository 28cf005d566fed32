#include "class_factory.h"

#include "module.h"
#include "tuner_filter.h"

namespace {

class TunerFilterClassFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
      *object = static_cast<IClassFactory*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }

  // The factory lives as long as the module; references to it hold the
  // module the way a server lock does.
  ULONG STDMETHODCALLTYPE AddRef() override {
    SimBoardLockModule();
    return 2;
  }
  ULONG STDMETHODCALLTYPE Release() override {
    SimBoardUnlockModule();
    return 1;
  }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return CreateTunerFilter(iid, object);
  }

  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock) {
      SimBoardLockModule();
    } else {
      SimBoardUnlockModule();
    }
    return S_OK;
  }
};

TunerFilterClassFactory g_factory;

}  // namespace

IClassFactory* TunerFilterFactory() { return &g_factory; }
