#include "graph.h"

#include "com_instance.h"
#include "debug_log.h"
#include "variant_text.h"

namespace {
const DWORD kInprocServerOrHandler = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER;
}  // namespace

CGraph::CGraph()
    : m_pGraphBuilder(nullptr), m_pCaptureGraphBuilder2(nullptr), m_pKsPropertySet(nullptr) {}

CGraph::~CGraph() {}

int CGraph::CreateGraphBuilder() {
  if (m_pGraphBuilder != nullptr && m_pCaptureGraphBuilder2 != nullptr) {
    DebugLog("CGraph::CreateGraphBuilder( 1 ) ERROR!!\n");
    return 0;
  }
  if (CreateComInstance(CLSID_FilterGraph, nullptr, kInprocServerOrHandler, IID_IGraphBuilder,
                        reinterpret_cast<void**>(&m_pGraphBuilder)) != S_OK) {
    DebugLog("CGraph::CreateGraphBuilder( 2 ) ERROR!!\n");
    return 0;
  }
  if (CreateComInstance(CLSID_CaptureGraphBuilder2, nullptr, kInprocServerOrHandler,
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
