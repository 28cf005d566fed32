// The board's device graph: the tuner filter in a filter graph, and the
// driver's property-set interface obtained through it.
#pragma once

#include "graph.h"

class CDigitalGraph : public CGraph {
 public:
  // Makes no platform call; CreateGraph obtains everything.
  CDigitalGraph();
  ~CDigitalGraph() override;

  // Releases the property set, the filter graph, the capture graph builder
  // and the tuner filter, in that order.
  void ReleaseAll() override;
  int CreateGraph() override;

 protected:
  IBaseFilter* m_pTunerFilter;
};
