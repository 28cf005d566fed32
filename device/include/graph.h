// The generic part of a device graph: a filter graph with a capture graph
// builder attached, the search for a registered filter by friendly name,
// and the interface request through the capture graph builder.
#pragma once

#include "travune_platform.h"

class CGraph {
 public:
  CGraph();
  virtual ~CGraph();

  // Releases every reference the graph holds; an empty graph stays empty.
  virtual void ReleaseAll() = 0;
  // Builds the graph from nothing: 1 when complete, else 0 (what was
  // obtained stays held until the next ReleaseAll).
  virtual int CreateGraph() = 0;

  int CreateGraphBuilder();
  // Binds the skipCount + 1-th filter of the category whose friendly name
  // contains nameSubstring, and copies that name into nameBuffer, cut to
  // fit capacityBytes. Touches no field of the graph.
  int FindFilter(REFGUID category, const WCHAR* nameSubstring, int skipCount, IBaseFilter** filter,
                 WCHAR* nameBuffer, int capacityBytes);
  int AddFilter(IBaseFilter* filter, const WCHAR* name);
  int GetInterfaceFromGraphBuilder2(IBaseFilter* filter, REFIID riid, void** object);

  // Borrowed by the EEPROM procedures; never released by them.
  IKsPropertySet* PropertySet() const { return m_pKsPropertySet; }

 protected:
  IGraphBuilder* m_pGraphBuilder;
  ICaptureGraphBuilder2* m_pCaptureGraphBuilder2;
  IKsPropertySet* m_pKsPropertySet;

 private:
  CGraph(const CGraph&) = delete;
  CGraph& operator=(const CGraph&) = delete;
};
