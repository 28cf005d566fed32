// CGraph::FindFilter: the walk over a device category for a filter by
// friendly name.
#include "com_instance.h"
#include "debug_log.h"
#include "graph.h"
#include "variant_text.h"

namespace {

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
          pPropertyBag->Read(TRAVUNE_WIDE("FriendlyName"), &friendlyName, nullptr) == S_OK) {
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
