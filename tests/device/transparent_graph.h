// A CDigitalGraph whose references tests can read and preset.
#pragma once

#include "digital_graph.h"

class TransparentGraph : public CDigitalGraph {
 public:
  IGraphBuilder*& FilterGraph() { return m_pGraphBuilder; }
  ICaptureGraphBuilder2*& Builder() { return m_pCaptureGraphBuilder2; }
  IBaseFilter*& TunerFilter() { return m_pTunerFilter; }
  IKsPropertySet*& HeldPropertySet() { return m_pKsPropertySet; }
};
