#include "lumiq_device_access.h"

#include <new>
#include <string>

#include "device_ids.h"
#include "digital_graph.h"
#include "variant_text.h"

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
