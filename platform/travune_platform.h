// The one header through which the portable code (common/, eeprom/, device/)
// reaches COM, OLE automation, DirectShow, kernel streaming and Win32.
// On Windows it includes the SDK headers. Elsewhere it declares the few
// pieces the portable code uses, with the Windows binary layout: 16-bit
// OLECHAR, 32-bit DWORD/ULONG/LONG/HRESULT, IUnknown-style interfaces with
// their methods in the SDK's order.
#pragma once

#ifdef _WIN32

#include <windows.h>
#include <dshow.h>
#include <ks.h>
#include <objbase.h>
#include <oleauto.h>

#define TRAVUNE_WIDE(text) L##text

#else  // !_WIN32

#include <cstddef>
#include <cstdint>
#include <cstring>

#define TRAVUNE_WIDE(text) u##text

#define STDMETHODCALLTYPE
#define WINAPI
#define CALLBACK

typedef int32_t HRESULT;
typedef uint32_t DWORD;
typedef uint32_t ULONG;
typedef int32_t LONG;
typedef uint16_t WORD;
typedef uint8_t BYTE;
typedef int BOOL;
typedef unsigned int UINT;
typedef char16_t WCHAR;
typedef WCHAR OLECHAR;
typedef OLECHAR* BSTR;
typedef const OLECHAR* LPCOLESTR;
typedef OLECHAR* LPOLESTR;
typedef const WCHAR* LPCWSTR;
typedef WCHAR* LPWSTR;
typedef const char* LPCSTR;
typedef char* LPSTR;
typedef void* LPVOID;
typedef uint16_t VARTYPE;
typedef int16_t VARIANT_BOOL;
typedef int64_t REFERENCE_TIME;
typedef void* HWND;
typedef uintptr_t DWORD_PTR;
typedef uint64_t DWORDLONG;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_NOTIMPL ((HRESULT)0x80004001)
#define E_NOINTERFACE ((HRESULT)0x80004002)
#define E_POINTER ((HRESULT)0x80004003)
#define E_FAIL ((HRESULT)0x80004005)
#define E_UNEXPECTED ((HRESULT)0x8000FFFF)
#define E_OUTOFMEMORY ((HRESULT)0x8007000E)
#define E_INVALIDARG ((HRESULT)0x80070057)
#define REGDB_E_CLASSNOTREG ((HRESULT)0x80040154)
#define SUCCEEDED(hr) (((HRESULT)(hr)) >= 0)
#define FAILED(hr) (((HRESULT)(hr)) < 0)

#define CLSCTX_INPROC_SERVER 0x1
#define CLSCTX_INPROC_HANDLER 0x2
#define CP_ACP 0

#define KSPROPERTY_SUPPORT_GET 1
#define KSPROPERTY_SUPPORT_SET 2

struct GUID {
  uint32_t Data1;
  uint16_t Data2;
  uint16_t Data3;
  uint8_t Data4[8];
};
typedef GUID IID;
typedef GUID CLSID;
typedef const GUID& REFGUID;
typedef const IID& REFIID;
typedef const CLSID& REFCLSID;

inline bool IsEqualGUID(REFGUID a, REFGUID b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }
inline bool operator==(REFGUID a, REFGUID b) { return IsEqualGUID(a, b); }
inline bool operator!=(REFGUID a, REFGUID b) { return !IsEqualGUID(a, b); }

enum VARENUM : VARTYPE { VT_EMPTY = 0, VT_I4 = 3, VT_BSTR = 8 };

struct VARIANT {
  VARTYPE vt;
  WORD wReserved1;
  WORD wReserved2;
  WORD wReserved3;
  union {
    LONG lVal;
    BSTR bstrVal;
    void* byref;
    int64_t llVal;
    struct {
      void* pvRecord;
      void* pRecInfo;
    } record;
  };
};

// Opaque types that appear only as pointers in the method lists.
struct IBindCtx;
struct IErrorLog;
struct IStream;
struct IEnumPins;
struct IPin;
struct IEnumFilters;
struct IReferenceClock;
struct IFileSinkFilter;
struct IAMCopyCaptureFileProgress;
struct AM_MEDIA_TYPE;
struct FILTER_INFO;
struct ULARGE_INTEGER;
struct FILETIME;
struct IEnumMoniker;

struct IUnknown {
  virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) = 0;
  virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
  virtual ULONG STDMETHODCALLTYPE Release() = 0;
};

struct IPersist : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetClassID(CLSID* classId) = 0;
};

struct IPersistStream : IPersist {
  virtual HRESULT STDMETHODCALLTYPE IsDirty() = 0;
  virtual HRESULT STDMETHODCALLTYPE Load(IStream* stream) = 0;
  virtual HRESULT STDMETHODCALLTYPE Save(IStream* stream, BOOL clearDirty) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) = 0;
};

struct IMoniker : IPersistStream {
  virtual HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx* bindContext, IMoniker* left, REFIID riid,
                                                 void** object) = 0;
  virtual HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx* bindContext, IMoniker* left,
                                                  REFIID riid, void** object) = 0;
  // The remaining methods are never called; they keep the vtable layout.
  virtual HRESULT STDMETHODCALLTYPE Reduce(IBindCtx*, DWORD, IMoniker**, IMoniker**) = 0;
  virtual HRESULT STDMETHODCALLTYPE ComposeWith(IMoniker*, BOOL, IMoniker**) = 0;
  virtual HRESULT STDMETHODCALLTYPE Enum(BOOL, IEnumMoniker**) = 0;
  virtual HRESULT STDMETHODCALLTYPE IsEqual(IMoniker*) = 0;
  virtual HRESULT STDMETHODCALLTYPE Hash(DWORD*) = 0;
  virtual HRESULT STDMETHODCALLTYPE IsRunning(IBindCtx*, IMoniker*, IMoniker*) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetTimeOfLastChange(IBindCtx*, IMoniker*, FILETIME*) = 0;
  virtual HRESULT STDMETHODCALLTYPE Inverse(IMoniker**) = 0;
  virtual HRESULT STDMETHODCALLTYPE CommonPrefixWith(IMoniker*, IMoniker**) = 0;
  virtual HRESULT STDMETHODCALLTYPE RelativePathTo(IMoniker*, IMoniker**) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDisplayName(IBindCtx*, IMoniker*, LPWSTR*) = 0;
  virtual HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx*, IMoniker*, LPWSTR, ULONG*,
                                                     IMoniker**) = 0;
  virtual HRESULT STDMETHODCALLTYPE IsSystemMoniker(DWORD*) = 0;
};

struct IEnumMoniker : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Next(ULONG count, IMoniker** monikers, ULONG* fetched) = 0;
  virtual HRESULT STDMETHODCALLTYPE Skip(ULONG count) = 0;
  virtual HRESULT STDMETHODCALLTYPE Reset() = 0;
  virtual HRESULT STDMETHODCALLTYPE Clone(IEnumMoniker** clone) = 0;
};

struct ICreateDevEnum : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE CreateClassEnumerator(REFCLSID category,
                                                          IEnumMoniker** enumerator,
                                                          DWORD flags) = 0;
};

struct IPropertyBag : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Read(LPCOLESTR name, VARIANT* value, IErrorLog* log) = 0;
  virtual HRESULT STDMETHODCALLTYPE Write(LPCOLESTR name, VARIANT* value) = 0;
};

enum FILTER_STATE { State_Stopped = 0, State_Paused = 1, State_Running = 2 };
enum PIN_DIRECTION { PINDIR_INPUT = 0, PINDIR_OUTPUT = 1 };

struct IMediaFilter : IPersist {
  virtual HRESULT STDMETHODCALLTYPE Stop() = 0;
  virtual HRESULT STDMETHODCALLTYPE Pause() = 0;
  virtual HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME start) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetState(DWORD timeout, FILTER_STATE* state) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock* clock) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock** clock) = 0;
};

struct IFilterGraph;

struct IBaseFilter : IMediaFilter {
  virtual HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins** pins) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR id, IPin** pin) = 0;
  virtual HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO* info) = 0;
  virtual HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) = 0;
  virtual HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR* vendorInfo) = 0;
};

struct IFilterGraph : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE AddFilter(IBaseFilter* filter, LPCWSTR name) = 0;
  virtual HRESULT STDMETHODCALLTYPE RemoveFilter(IBaseFilter* filter) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumFilters(IEnumFilters** filters) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindFilterByName(LPCWSTR name, IBaseFilter** filter) = 0;
  virtual HRESULT STDMETHODCALLTYPE ConnectDirect(IPin* out, IPin* in,
                                                  const AM_MEDIA_TYPE* type) = 0;
  virtual HRESULT STDMETHODCALLTYPE Reconnect(IPin* pin) = 0;
  virtual HRESULT STDMETHODCALLTYPE Disconnect(IPin* pin) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetDefaultSyncSource() = 0;
};

struct IGraphBuilder : IFilterGraph {
  virtual HRESULT STDMETHODCALLTYPE Connect(IPin* out, IPin* in) = 0;
  virtual HRESULT STDMETHODCALLTYPE Render(IPin* out) = 0;
  virtual HRESULT STDMETHODCALLTYPE RenderFile(LPCWSTR file, LPCWSTR playList) = 0;
  virtual HRESULT STDMETHODCALLTYPE AddSourceFilter(LPCWSTR file, LPCWSTR name,
                                                    IBaseFilter** filter) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetLogFile(DWORD_PTR file) = 0;
  virtual HRESULT STDMETHODCALLTYPE Abort() = 0;
  virtual HRESULT STDMETHODCALLTYPE ShouldOperationContinue() = 0;
};

struct ICaptureGraphBuilder2 : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetFiltergraph(IGraphBuilder* graph) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetFiltergraph(IGraphBuilder** graph) = 0;
  virtual HRESULT STDMETHODCALLTYPE SetOutputFileName(const GUID* type, LPCOLESTR file,
                                                      IBaseFilter** mux,
                                                      IFileSinkFilter** sink) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindInterface(const GUID* category, const GUID* type,
                                                  IBaseFilter* filter, REFIID riid,
                                                  void** object) = 0;
  virtual HRESULT STDMETHODCALLTYPE RenderStream(const GUID* category, const GUID* type,
                                                 IUnknown* source, IBaseFilter* compressor,
                                                 IBaseFilter* renderer) = 0;
  virtual HRESULT STDMETHODCALLTYPE ControlStream(const GUID* category, const GUID* type,
                                                  IBaseFilter* filter, REFERENCE_TIME* start,
                                                  REFERENCE_TIME* stop, WORD startCookie,
                                                  WORD stopCookie) = 0;
  virtual HRESULT STDMETHODCALLTYPE AllocCapFile(LPCOLESTR file, DWORDLONG size) = 0;
  virtual HRESULT STDMETHODCALLTYPE CopyCaptureFile(LPOLESTR oldFile, LPOLESTR newFile,
                                                    int allowEscAbort,
                                                    IAMCopyCaptureFileProgress* callback) = 0;
  virtual HRESULT STDMETHODCALLTYPE FindPin(IUnknown* source, PIN_DIRECTION direction,
                                            const GUID* category, const GUID* type,
                                            BOOL unconnected, int index, IPin** pin) = 0;
};

struct IKsPropertySet : IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Set(REFGUID propertySet, DWORD propertyId, LPVOID instanceData,
                                        DWORD instanceLength, LPVOID propertyData,
                                        DWORD propertyLength) = 0;
  virtual HRESULT STDMETHODCALLTYPE Get(REFGUID propertySet, DWORD propertyId, LPVOID instanceData,
                                        DWORD instanceLength, LPVOID propertyData,
                                        DWORD propertyLength, DWORD* returned) = 0;
  virtual HRESULT STDMETHODCALLTYPE QuerySupported(REFGUID propertySet, DWORD propertyId,
                                                   DWORD* typeSupport) = 0;
};

// Interface and class identifiers, defined in platform/native/guids.cpp.
extern const IID IID_IUnknown;
extern const IID IID_ICreateDevEnum;
extern const IID IID_IPropertyBag;
extern const IID IID_IBaseFilter;
extern const IID IID_IGraphBuilder;
extern const IID IID_ICaptureGraphBuilder2;
extern const IID IID_IKsPropertySet;
extern const CLSID CLSID_SystemDeviceEnum;
extern const CLSID CLSID_FilterGraph;
extern const CLSID CLSID_CaptureGraphBuilder2;
extern const GUID PIN_CATEGORY_CAPTURE;

// Win32 and COM functions, implemented in platform/native/.
HRESULT CoCreateInstance(REFCLSID classId, IUnknown* outer, DWORD context, REFIID riid,
                         LPVOID* object);
BSTR SysAllocString(const OLECHAR* text);
void SysFreeString(BSTR text);
void VariantInit(VARIANT* value);
HRESULT VariantClear(VARIANT* value);
int lstrlenW(LPCWSTR text);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideLength, LPSTR narrow,
                        int narrowSize, LPCSTR defaultChar, BOOL* usedDefault);
void OutputDebugStringA(LPCSTR text);

#endif  // _WIN32
