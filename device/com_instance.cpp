#include "com_instance.h"

namespace {

HRESULT CreateWithComRuntime(REFCLSID classId, IUnknown* outer, DWORD context, REFIID riid,
                             void** object) {
  return CoCreateInstance(classId, outer, context, riid, object);
}

ComInstanceCreator g_creator = CreateWithComRuntime;

}  // namespace

HRESULT CreateComInstance(REFCLSID classId, IUnknown* outer, DWORD context, REFIID riid,
                          void** object) {
  return g_creator(classId, outer, context, riid, object);
}

ComInstanceCreator SetComInstanceCreator(ComInstanceCreator creator) {
  const ComInstanceCreator previous = g_creator;
  g_creator = creator != nullptr ? creator : CreateWithComRuntime;
  return previous;
}
