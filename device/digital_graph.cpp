#include "digital_graph.h"

#include "debug_log.h"
#include "device_ids.h"
#include "device_private.h"

namespace {
// The friendly name lands in a buffer of 256 characters, but the search is
// told 256 bytes, so at most 127 characters and the terminator are kept.
const int NAME_BUFFER_CHARACTERS = 256;
const int NAME_CAPACITY_BYTES = 256;
static_assert(NAME_CAPACITY_BYTES <= NAME_BUFFER_CHARACTERS * static_cast<int>(sizeof(WCHAR)),
              "the search is never told more than the buffer holds");
}  // namespace

CDigitalGraph::CDigitalGraph() : m_pTunerFilter(nullptr) {}

CDigitalGraph::~CDigitalGraph() { CDigitalGraph::ReleaseAll(); }

void CDigitalGraph::ReleaseAll() {
  ReleaseAndClear(m_pKsPropertySet);
  ReleaseAndClear(m_pGraphBuilder);
  ReleaseAndClear(m_pCaptureGraphBuilder2);
  ReleaseAndClear(m_pTunerFilter);
}

int CDigitalGraph::CreateGraph() {
  ReleaseAll();
  if (CreateGraphBuilder() != 1) return 0;

  // Starts empty: when no tuner is found, the filter graph still receives
  // this buffer (with a null filter, which it refuses).
  WCHAR name[NAME_BUFFER_CHARACTERS] = {0};
  if (FindFilter(KSCATEGORY_BDA_NETWORK_TUNER, TUNER_FRIENDLY_NAME, 0, &m_pTunerFilter, name,
                 NAME_CAPACITY_BYTES) != 1) {
    DebugLog("Davad Irudazevi Failed");
  }
  if (AddFilter(m_pTunerFilter, name) != 1) return 0;
  if (GetInterfaceFromGraphBuilder2(m_pTunerFilter, IID_IKsPropertySet,
                                    reinterpret_cast<void**>(&m_pKsPropertySet)) != 1) {
    DebugLog("CDigitalGraph::CreateGraph( 14 ) ERROR!!\n");
    return 0;
  }
  return 1;
}
