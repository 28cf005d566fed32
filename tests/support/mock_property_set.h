// A GoogleMock of the driver's property-set interface. Reference counting is
// real (starts at 1) so tests can check that nobody adds or drops one.
#pragma once

#include <gmock/gmock.h>

#include "travune_platform.h"

class MockPropertySet : public IKsPropertySet {
 public:
  MOCK_METHOD(HRESULT, Set, (REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD), (override));
  MOCK_METHOD(HRESULT, Get, (REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD, DWORD*), (override));
  MOCK_METHOD(HRESULT, QuerySupported, (REFGUID, DWORD, DWORD*), (override));

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (!IsEqualGUID(riid, IID_IUnknown) && !IsEqualGUID(riid, IID_IKsPropertySet)) {
      return E_NOINTERFACE;
    }
    *object = static_cast<IKsPropertySet*>(this);
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }

  ULONG references = 1;
};
