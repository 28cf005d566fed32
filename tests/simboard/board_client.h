// Talks to the registered board only the way the program does: the system
// device enumerator, a real filter graph and the capture graph builder.
#pragma once

#include <string>
#include <vector>

#include "com_ptr.h"
#include "eeprom_requests.h"
#include "travune_platform.h"

struct CategoryEntry {
  std::wstring friendlyName;  // empty unless read as a string
  std::wstring devicePath;    // empty unless read as a string
  ComPtr<IMoniker> moniker;
};

// S_OK and the entries, or what CreateClassEnumerator answered.
HRESULT ListCategory(REFGUID category, std::vector<CategoryEntry>* entries);

// The tuner filter bound by friendly name, added to a filter graph, and its
// property set found through the capture graph builder.
class BoardSession {
 public:
  BoardSession() = default;
  BoardSession(const BoardSession&) = delete;
  BoardSession& operator=(const BoardSession&) = delete;
  ~BoardSession() { Close(); }

  // S_OK, or the first step's failure.
  HRESULT Open(const wchar_t* nameInGraph = L"Travune Tuner");
  // Releases in the program's order: property set, graph, builder, filter.
  void Close();

  IKsPropertySet* PropertySet() const { return propertySet_.Get(); }
  IBaseFilter* Filter() const { return filter_.Get(); }
  IGraphBuilder* Graph() const { return graph_.Get(); }

 private:
  ComPtr<IGraphBuilder> graph_;
  ComPtr<ICaptureGraphBuilder2> builder_;
  ComPtr<IBaseFilter> filter_;
  ComPtr<IKsPropertySet> propertySet_;
};

EEPROM_READ_REQUEST MakeReadRequest(BYTE offset);
EEPROM_WRITE_REQUEST MakeWriteRequest(BYTE offset, const BYTE data[4]);

// Get of a read request, answered into the same buffer.
HRESULT GetInPlace(IKsPropertySet* propertySet, EEPROM_READ_REQUEST* request);

// The program's two requests, each after its support query; the results
// are the driver's own.
HRESULT ReadByte(IKsPropertySet* propertySet, BYTE offset, BYTE* value);
HRESULT WriteBlock(IKsPropertySet* propertySet, BYTE offset, BYTE b0, BYTE b1, BYTE b2, BYTE b3);
