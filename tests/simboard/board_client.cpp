#include "board_client.h"

#include "device_ids.h"

namespace {

std::wstring ReadStringProperty(IPropertyBag* bag, const wchar_t* name) {
  VARIANT value;
  VariantInit(&value);
  std::wstring text;
  if (bag->Read(name, &value, nullptr) == S_OK && value.vt == VT_BSTR && value.bstrVal != nullptr) {
    text = value.bstrVal;
  }
  VariantClear(&value);
  return text;
}

}  // namespace

HRESULT ListCategory(REFGUID category, std::vector<CategoryEntry>* entries) {
  entries->clear();
  ComPtr<ICreateDevEnum> devices;
  HRESULT hr = CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER,
                                IID_ICreateDevEnum, devices.OutVoid());
  if (hr != S_OK) return hr;
  ComPtr<IEnumMoniker> monikers;
  hr = devices->CreateClassEnumerator(category, monikers.Out(), 0);
  if (hr != S_OK) return hr;
  for (;;) {
    CategoryEntry entry;
    if (monikers->Next(1, entry.moniker.Out(), nullptr) != S_OK) break;
    ComPtr<IPropertyBag> bag;
    if (entry.moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.OutVoid()) == S_OK) {
      entry.friendlyName = ReadStringProperty(bag.Get(), L"FriendlyName");
      entry.devicePath = ReadStringProperty(bag.Get(), L"DevicePath");
    }
    entries->push_back(std::move(entry));
  }
  return S_OK;
}

HRESULT BoardSession::Open(const wchar_t* nameInGraph) {
  Close();
  HRESULT hr = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                graph_.OutVoid());
  if (hr != S_OK) return hr;
  hr = CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER,
                        IID_ICaptureGraphBuilder2, builder_.OutVoid());
  if (hr != S_OK) return hr;
  hr = builder_->SetFiltergraph(graph_.Get());
  if (hr != S_OK) return hr;

  std::vector<CategoryEntry> tuners;
  hr = ListCategory(KSCATEGORY_BDA_NETWORK_TUNER, &tuners);
  if (hr != S_OK) return hr;
  hr = E_FAIL;
  for (CategoryEntry& tuner : tuners) {
    if (tuner.friendlyName.find(TUNER_FRIENDLY_NAME) == std::wstring::npos) continue;
    hr = tuner.moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, filter_.OutVoid());
    if (hr == S_OK) break;
  }
  if (hr != S_OK) return hr;
  hr = graph_->AddFilter(filter_.Get(), nameInGraph);
  if (hr != S_OK) return hr;
  return builder_->FindInterface(&PIN_CATEGORY_CAPTURE, nullptr, filter_.Get(), IID_IKsPropertySet,
                                 propertySet_.OutVoid());
}

void BoardSession::Close() {
  propertySet_.Reset();
  graph_.Reset();
  builder_.Reset();
  filter_.Reset();
}

EEPROM_READ_REQUEST MakeReadRequest(BYTE offset) {
  EEPROM_READ_REQUEST request = {};
  request.Selector = EEPROM_SELECTOR;
  request.DeviceAddress = EEPROM_DEVICE_ADDRESS;
  request.WriteCount = EEPROM_READ_WRITE_COUNT;
  request.WriteData[0] = offset;
  request.ReadCount = EEPROM_READ_COUNT;
  return request;
}

EEPROM_WRITE_REQUEST MakeWriteRequest(BYTE offset, const BYTE data[4]) {
  EEPROM_WRITE_REQUEST request = {};
  request.Selector = EEPROM_SELECTOR;
  request.DeviceAddress = EEPROM_DEVICE_ADDRESS;
  request.WriteCount = EEPROM_WRITE_COUNT;
  request.WriteData[0] = offset;
  for (int i = 0; i < 4; ++i) request.WriteData[1 + i] = data[i];
  return request;
}

HRESULT GetInPlace(IKsPropertySet* propertySet, EEPROM_READ_REQUEST* request) {
  DWORD returned = 0;
  return propertySet->Get(PROPSETID_EEPROM_ACCESS, EEPROM_PROPERTY_READ, request, sizeof(*request),
                          request, sizeof(*request), &returned);
}

HRESULT ReadByte(IKsPropertySet* propertySet, BYTE offset, BYTE* value) {
  DWORD support = 0;
  HRESULT hr = propertySet->QuerySupported(PROPSETID_EEPROM_ACCESS, EEPROM_PROPERTY_READ, &support);
  if (hr != S_OK) return hr;
  if ((support & KSPROPERTY_SUPPORT_GET) == 0) return E_NOTIMPL;
  EEPROM_READ_REQUEST request = MakeReadRequest(offset);
  hr = GetInPlace(propertySet, &request);
  *value = request.ReadData[0];
  return hr;
}

HRESULT WriteBlock(IKsPropertySet* propertySet, BYTE offset, BYTE b0, BYTE b1, BYTE b2, BYTE b3) {
  DWORD support = 0;
  HRESULT hr =
      propertySet->QuerySupported(PROPSETID_EEPROM_ACCESS, EEPROM_PROPERTY_WRITE, &support);
  if (hr != S_OK) return hr;
  if ((support & KSPROPERTY_SUPPORT_SET) == 0) return E_NOTIMPL;
  const BYTE data[4] = {b0, b1, b2, b3};
  EEPROM_WRITE_REQUEST request = MakeWriteRequest(offset, data);
  return propertySet->Set(PROPSETID_EEPROM_ACCESS, EEPROM_PROPERTY_WRITE, &request, sizeof(request),
                          &request, sizeof(request));
}
