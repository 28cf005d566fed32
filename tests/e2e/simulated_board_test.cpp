// The simulated board's property set, loaded in-process.
#include <cstring>

#include "eeprom_requests.h"
#include "travune_e2e.h"

namespace {

struct Request {
  const char* name;
  char operation;  // Q: QuerySupported, G: Get, S: Set
  DWORD id;
  int instanceLength;  // -1: no instance data (null, 0)
  int dataLength;      // 0: no data buffer (QuerySupported: no flags)
  int field;           // byte of the record changed to `value` (-1: none)
  BYTE value;
  HRESULT expected;
  bool otherSet = false;
};

// As the driver does, the board takes the request from the instance data,
// which alone is malformed in these rows (the property data holds a
// well-formed record): each such request is refused with the right result,
// leaves the EEPROM file alone and answers no byte. A read answers in the
// property data.
const Request REQUESTS[] = {
    {"SetOtherSet", 'S', 0, 19, 19, -1, 0, E_PROP_SET_UNSUPPORTED, true},
    {"SetReadId", 'S', 2, 19, 19, -1, 0, E_PROP_ID_UNSUPPORTED},
    {"SetNoData", 'S', 0, 19, 0, -1, 0, E_POINTER},
    {"SetShortData", 'S', 0, 19, 18, -1, 0, E_INVALIDARG},
    {"SetShortInstance", 'S', 0, 10, 19, -1, 0, E_INVALIDARG},
    {"SetNoInstance", 'S', 0, -1, 19, -1, 0, E_POINTER},
    {"SetSelector", 'S', 0, 19, 19, 0, 2, E_INVALIDARG},
    {"SetAddress", 'S', 0, 19, 19, 1, 0xA2, E_INVALIDARG},
    {"SetWriteCount", 'S', 0, 19, 19, 2, 4, E_INVALIDARG},
    {"SetUnalignedOffset", 'S', 0, 19, 19, 3, 6, E_INVALIDARG},
    {"GetWriteId", 'G', 0, 28, 28, -1, 0, E_PROP_ID_UNSUPPORTED},
    {"GetShortData", 'G', 2, 28, 27, -1, 0, E_INVALIDARG},
    {"GetNoInstance", 'G', 2, -1, 28, -1, 0, E_POINTER},
    {"GetWriteCount", 'G', 2, 28, 28, 2, 2, E_INVALIDARG},
    {"GetReadCount", 'G', 2, 28, 28, 11, 2, E_INVALIDARG},
    {"GetSelector", 'G', 2, 28, 28, 0, 0, E_INVALIDARG},
    {"GetWellFormed", 'G', 2, 28, 28, -1, 0, S_OK},
    {"QueryOtherId", 'Q', 1, 0, 4, -1, 0, E_PROP_ID_UNSUPPORTED},
    {"QueryOtherSet", 'Q', 2, 0, 4, -1, 0, E_PROP_SET_UNSUPPORTED, true},
    {"QueryNoFlags", 'Q', 2, 0, 0, -1, 0, E_POINTER},
};

class SimulatedBoard : public TravuneE2e {
 protected:
  void SetUp() override {
    TravuneE2e::SetUp();
    m_board = LoadLibraryA(Env("TRAVUNE_E2E_BOARD").c_str());
    if (m_board == nullptr && GetLastError() == ERROR_BAD_EXE_FORMAT)
      GTEST_SKIP() << "the board is not of this process's bitness";
    ASSERT_NE(m_board, nullptr) << Env("TRAVUNE_E2E_BOARD");
  }

  template <typename Function>
  Function* Export(const char* name) const {
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(GetProcAddress(m_board, name)));
  }

  HMODULE m_board = nullptr;
};

TEST_F(SimulatedBoard, TakesTheRequestFromTheInstanceDataAndRefusesMalformedOnes) {
  const auto getClassObject =
      Export<HRESULT STDAPICALLTYPE(REFCLSID, REFIID, void**)>("DllGetClassObject");
  ASSERT_NE(getClassObject, nullptr);
  CLSID filterClass;
  CLSIDFromString(L"{B43B6A5E-E134-4972-A063-04C54D2E0EF9}", &filterClass);
  IClassFactory* factory = nullptr;
  ASSERT_EQ(getClassObject(filterClass, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
            S_OK);
  IKsPropertySet* properties = nullptr;
  ASSERT_EQ(
      factory->CreateInstance(nullptr, IID_IKsPropertySet, reinterpret_cast<void**>(&properties)),
      S_OK);
  factory->Release();
  const std::string image(256, '\x5A');
  WriteEeprom(image);
  const GUID otherSet = {0x96EA8493, 0x0034, 0x4935, {0x95, 0x31, 0xDF, 0xD5, 0xD6, 0x16, 0x7C, 0}};
  for (const Request& row : REQUESTS) {
    SCOPED_TRACE(row.name);
    BYTE record[28] = {1, 0xA0, BYTE(row.operation == 'S' ? 5 : 1), 8, 1, 2, 3, 4};
    if (row.operation == 'G') record[11] = 1;
    BYTE instance[28];
    std::memcpy(instance, record, sizeof(record));
    if (row.field >= 0) instance[row.field] = row.value;
    const GUID& set = row.otherSet ? otherSet : PROPSETID_EEPROM_ACCESS;
    void* data = row.dataLength != 0 ? record : nullptr;
    void* in = row.instanceLength >= 0 ? instance : nullptr;
    const DWORD inLength = row.instanceLength >= 0 ? row.instanceLength : 0;
    DWORD answer = 0;  // the support flags or the length returned
    const HRESULT result =
        row.operation == 'S' ? properties->Set(set, row.id, in, inLength, data, row.dataLength)
        : row.operation == 'G'
            ? properties->Get(set, row.id, in, inLength, data, row.dataLength, &answer)
            : properties->QuerySupported(set, row.id, row.dataLength != 0 ? &answer : nullptr);
    EXPECT_EQ(result, row.expected);
    if (row.operation == 'S') {
      EXPECT_EQ(ReadEeprom(), image);
    } else if (row.operation == 'G') {
      EXPECT_EQ(record[12], row.expected == S_OK ? 0x5A : 0) << "the byte read, in the reply";
      EXPECT_EQ(answer, row.expected == S_OK ? 28u : 0u) << "the reply's length";
    } else if (row.dataLength != 0) {
      EXPECT_EQ(answer, 0u) << "no support flags";
    }
  }
  EXPECT_EQ(properties->Release(), 0u);
  EXPECT_THAT(BoardLog(), ::testing::Contains("FilterReleased"));
}

}  // namespace
