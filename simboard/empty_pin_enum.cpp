#include "empty_pin_enum.h"

#include <new>

#include "module.h"

namespace {

class EmptyPinEnum final : public IEnumPins {
 public:
  EmptyPinEnum() { SimBoardLockModule(); }
  EmptyPinEnum(const EmptyPinEnum&) = delete;
  EmptyPinEnum& operator=(const EmptyPinEnum&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (object == nullptr) return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IEnumPins)) {
      *object = static_cast<IEnumPins*>(this);
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }

  ULONG STDMETHODCALLTYPE AddRef() override {
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
  }

  ULONG STDMETHODCALLTYPE Release() override {
    LONG refs = InterlockedDecrement(&refs_);
    if (refs == 0) delete this;
    return static_cast<ULONG>(refs);
  }

  HRESULT STDMETHODCALLTYPE Next(ULONG count, IPin** pins, ULONG* fetched) override {
    if (pins == nullptr) return E_POINTER;
    if (count != 1 && fetched == nullptr) return E_INVALIDARG;
    if (fetched != nullptr) *fetched = 0;
    return count == 0 ? S_OK : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override { return count == 0 ? S_OK : S_FALSE; }

  HRESULT STDMETHODCALLTYPE Reset() override { return S_OK; }

  HRESULT STDMETHODCALLTYPE Clone(IEnumPins** clone) override { return CreateEmptyPinEnum(clone); }

 private:
  ~EmptyPinEnum() { SimBoardUnlockModule(); }

  LONG refs_ = 1;
};

}  // namespace

HRESULT CreateEmptyPinEnum(IEnumPins** pins) {
  if (pins == nullptr) return E_POINTER;
  *pins = new (std::nothrow) EmptyPinEnum();
  return *pins != nullptr ? S_OK : E_OUTOFMEMORY;
}
