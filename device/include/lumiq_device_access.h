// The main dialog's device access: the board presence check and the device
// graph it owns. The dialog derives from this class.
#pragma once

#include "graph.h"

class CLumiqDeviceAccess {
 public:
  CLumiqDeviceAccess();
  // Deletes a device graph still held; the dialog normally closes it first.
  virtual ~CLumiqDeviceAccess();

  // 1 when a device of the category has an upper-cased device path that
  // contains pattern and a readable friendly name, else 0.
  int FindCaptureDevice(REFGUID category, const char* pattern);
  // Destroys any device graph, then keeps a new one only when the board is
  // present and the graph builds completely.
  void OpenDevice();
  void CloseDevice();

 protected:
  // The device graph, owned; null or fully built.
  CGraph* m_pDigitalGraph;

 private:
  CLumiqDeviceAccess(const CLumiqDeviceAccess&) = delete;
  CLumiqDeviceAccess& operator=(const CLumiqDeviceAccess&) = delete;
};
