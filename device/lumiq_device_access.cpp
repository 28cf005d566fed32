#include "lumiq_device_access.h"

#include <new>
#include <string>

#include "debug_log.h"
#include "device_ids.h"
#include "device_private.h"
#include "digital_graph.h"

namespace {

// Reads one string property into a value holder of its own, which it
// empties again, so the string read is freed exactly once, here.
bool ReadNarrowProperty(IPropertyBag* bag, const OLECHAR* property, std::string& text) {
  VARIANT value;
  VariantInit(&value);
  bool read = false;
  if (bag->Read(property, &value, nullptr) == S_OK) {
    const OLECHAR* wide = StringInVariant(value);
    if (wide != nullptr) {
      text = NarrowText(wide);
      read = true;
    }
  }
  VariantClear(&value);
  return read;
}

void UpperCaseAscii(std::string& text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
}

}  // namespace

CLumiqDeviceAccess::CLumiqDeviceAccess() : m_pDigitalGraph(nullptr) {}

CLumiqDeviceAccess::~CLumiqDeviceAccess() { CloseDevice(); }

void CLumiqDeviceAccess::OpenDevice() {
  CloseDevice();
  const std::string pattern = NarrowText(BOARD_DEVICE_PATH_PATTERN);
  if (FindCaptureDevice(KSCATEGORY_BDA_RECEIVER_COMPONENT, pattern.c_str()) != 1) return;

  m_pDigitalGraph = new (std::nothrow) CDigitalGraph();
  if (m_pDigitalGraph == nullptr) return;
  if (m_pDigitalGraph->CreateGraph() != 1) {
    delete m_pDigitalGraph;
    m_pDigitalGraph = nullptr;
  }
}

void CLumiqDeviceAccess::CloseDevice() {
  if (m_pDigitalGraph != nullptr) delete m_pDigitalGraph;
  m_pDigitalGraph = nullptr;
}

// The walk over a category that CGraph::FindFilter also makes, with
// deliberate differences: the device enumerator is created for
// CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER, "DevicePath" is matched as
// narrow text upper-cased, nothing is bound, a walk without a match writes
// nothing, the found line is unbounded without a line end and names the
// class CGraph, and the release order is the property bag, the device
// enumerator, the moniker enumerator, the moniker.
int CLumiqDeviceAccess::FindCaptureDevice(REFGUID category, const char* pattern) {
  ICreateDevEnum* pDeviceEnum = nullptr;
  IEnumMoniker* pEnumMoniker = nullptr;
  IMoniker* pMoniker = nullptr;
  IPropertyBag* pPropertyBag = nullptr;
  int found = 0;

  if (CreateComInstance(CLSID_SystemDeviceEnum, nullptr,
                        CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER, IID_ICreateDevEnum,
                        reinterpret_cast<void**>(&pDeviceEnum)) != S_OK) {
    DebugLog("CGraph::FindCaptureDevice() CoCreateInstance( CLSID_SystemDeviceEnum ) ERROR!!\n");
  } else if (pDeviceEnum->CreateClassEnumerator(category, &pEnumMoniker, 0) != S_OK) {
    DebugLog("CGraph::FindCaptureDevice() pDeviceEnum->CreateClassEnumerator() ERROR!!\n");
  } else {
    ULONG fetched = 0;
    while (pEnumMoniker->Next(1, &pMoniker, &fetched) == S_OK) {
      std::string path;
      std::string name;
      if (pMoniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag,
                                  reinterpret_cast<void**>(&pPropertyBag)) == S_OK &&
          ReadNarrowProperty(pPropertyBag, L"DevicePath", path)) {
        UpperCaseAscii(path);
        if (path.find(pattern) != std::string::npos &&
            ReadNarrowProperty(pPropertyBag, L"FriendlyName", name)) {
          DebugLog(("CGraph::FindCaptureDevice() str Device string = " + name).c_str());
          found = 1;
          break;
        }
      }
      ReleaseAndClear(pMoniker);
      ReleaseAndClear(pPropertyBag);
    }
  }

  ReleaseAndClear(pPropertyBag);
  ReleaseAndClear(pDeviceEnum);
  ReleaseAndClear(pEnumMoniker);
  ReleaseAndClear(pMoniker);
  return found;
}
