#include "graph.h"

#include "debug_log.h"
#include "device_private.h"

namespace {

const DWORD INPROC_SERVER_OR_HANDLER = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER;

bool ContainsText(const OLECHAR* text, const WCHAR* part) {
  const int partLength = lstrlenW(part);
  for (const OLECHAR* start = text; *start != 0; ++start) {
    int matched = 0;
    while (matched < partLength && start[matched] == part[matched]) ++matched;
    if (matched == partLength) return true;
  }
  return partLength == 0;
}

// Copies as much of name as fits, always terminated; a capacity below one
// character leaves the buffer untouched.
void CopyName(const OLECHAR* name, WCHAR* buffer, int capacityBytes) {
  const int capacity = capacityBytes / 2;
  if (capacity <= 0) return;
  int copied = 0;
  while (copied < capacity - 1 && name[copied] != 0) {
    buffer[copied] = name[copied];
    ++copied;
  }
  buffer[copied] = 0;
}

}  // namespace

CGraph::CGraph()
    : m_pGraphBuilder(nullptr), m_pCaptureGraphBuilder2(nullptr), m_pKsPropertySet(nullptr) {}

CGraph::~CGraph() {}

int CGraph::CreateGraphBuilder() {
  if (m_pGraphBuilder != nullptr && m_pCaptureGraphBuilder2 != nullptr) {
    DebugLog("CGraph::CreateGraphBuilder( 1 ) ERROR!!\n");
    return 0;
  }
  if (CreateComInstance(CLSID_FilterGraph, nullptr, INPROC_SERVER_OR_HANDLER, IID_IGraphBuilder,
                        reinterpret_cast<void**>(&m_pGraphBuilder)) != S_OK) {
    DebugLog("CGraph::CreateGraphBuilder( 2 ) ERROR!!\n");
    return 0;
  }
  if (CreateComInstance(CLSID_CaptureGraphBuilder2, nullptr, INPROC_SERVER_OR_HANDLER,
                        IID_ICaptureGraphBuilder2,
                        reinterpret_cast<void**>(&m_pCaptureGraphBuilder2)) != S_OK) {
    DebugLog("CGraph::CreateGraphBuilder( 3 ) ERROR!!\n");
    return 0;
  }
  if (m_pCaptureGraphBuilder2->SetFiltergraph(m_pGraphBuilder) != S_OK) {
    DebugLog("CGraph::CreateGraphBuilder( 4 ) ERROR!!\n");
    return 0;
  }
  return 1;
}

// The walk over a category that CLumiqDeviceAccess::FindCaptureDevice also
// makes, with deliberate differences: the device enumerator is created for
// CLSCTX_INPROC_SERVER alone (not with CLSCTX_INPROC_HANDLER), "FriendlyName"
// is matched as wide text and letter case counts, matching filters can be
// skipped and the filter is bound, a walk without a match writes message 3,
// the found line is bounded and ends in a line feed, and the release order
// is the property bag, the moniker, the moniker enumerator, the device
// enumerator.
int CGraph::FindFilter(REFGUID category, const WCHAR* nameSubstring, int skipCount,
                       IBaseFilter** filter, WCHAR* nameBuffer, int capacityBytes) {
  ICreateDevEnum* pDeviceEnum = nullptr;
  IEnumMoniker* pEnumMoniker = nullptr;
  IMoniker* pMoniker = nullptr;
  IPropertyBag* pPropertyBag = nullptr;
  VARIANT friendlyName;
  VariantInit(&friendlyName);
  int found = 0;

  if (CreateComInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                        reinterpret_cast<void**>(&pDeviceEnum)) != S_OK) {
    DebugLog("CGraph::FindFilter( 1 \xA1\xD1 CoCreateInstance(IID_ICreateDevEnum) ) ERROR!!\n");
  } else if (pDeviceEnum->CreateClassEnumerator(category, &pEnumMoniker, 0) != S_OK) {
    DebugLog("CGraph::FindFilter( 2 \xA1\xD1 CreateClassEnumerator() ) ERROR!!\n");
  } else {
    ULONG fetched = 0;
    while (pEnumMoniker->Next(1, &pMoniker, &fetched) == S_OK) {
      const OLECHAR* name = nullptr;
      if (pMoniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag,
                                  reinterpret_cast<void**>(&pPropertyBag)) == S_OK &&
          pPropertyBag->Read(L"FriendlyName", &friendlyName, nullptr) == S_OK) {
        name = StringInVariant(friendlyName);
      }
      if (name != nullptr && ContainsText(name, nameSubstring)) {
        if (skipCount != 0) {
          --skipCount;
        } else if (pMoniker->BindToObject(nullptr, nullptr, IID_IBaseFilter,
                                          reinterpret_cast<void**>(filter)) == S_OK) {
          CopyName(name, nameBuffer, capacityBytes);
          DebugLogNamed("CGraph::FindFilter( \"", name, "\" )\n");
          found = 1;
          break;
        }
      }
      ReleaseAndClear(pPropertyBag);
      ReleaseAndClear(pMoniker);
      VariantClear(&friendlyName);
    }
    if (found == 0) DebugLog("CGraph::FindFilter( 3 ) ERROR!!\n");
  }

  VariantClear(&friendlyName);
  ReleaseAndClear(pPropertyBag);
  ReleaseAndClear(pMoniker);
  ReleaseAndClear(pEnumMoniker);
  ReleaseAndClear(pDeviceEnum);
  return found;
}

int CGraph::AddFilter(IBaseFilter* filter, const WCHAR* name) {
  if (m_pGraphBuilder == nullptr) {
    DebugLog("CGraph::AddFilter( 1 \xA1\xD1 NULL ) ERROR!!\n");
    return 0;
  }
  if (m_pGraphBuilder->AddFilter(filter, name) != S_OK) {
    DebugLog("CGraph::AddFilter( 2 ) ERROR!!\n");
    return 0;
  }
  DebugLogNamed("CGraph::AddFilter( \"", name, "\" )\n");
  return 1;
}

int CGraph::GetInterfaceFromGraphBuilder2(IBaseFilter* filter, REFIID riid, void** object) {
  if (m_pCaptureGraphBuilder2 == nullptr) {
    DebugLog("CGraph::GetInterfaceFromGraphBuilder2( 1 ) ERROR!!\n");
    return 0;
  }
  const HRESULT result =
      m_pCaptureGraphBuilder2->FindInterface(&PIN_CATEGORY_CAPTURE, nullptr, filter, riid, object);
  return result == S_OK ? 1 : 0;
}
