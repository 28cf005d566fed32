// The simulated board loaded in-process: its property set, and the access
// list that its registration sets.
#include <aclapi.h>

#include <cstring>

#include "eeprom_requests.h"
#include "travune_e2e.h"

namespace {

// The board's class, as its README gives it to whoever creates it.
const wchar_t BOARD_CLASS[] = L"{B43B6A5E-E134-4972-A063-04C54D2E0EF9}";

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

// As the driver, the board reads the request in the instance data; only it is
// malformed in these rows. Each is refused with the right result, leaves the
// EEPROM file alone and answers no byte; a read answers in the property data.
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
  CLSIDFromString(BOARD_CLASS, &filterClass);
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
  GUID otherSet = PROPSETID_EEPROM_ACCESS;
  otherSet.Data4[7] ^= 1;
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
      EXPECT_EQ(Read("eeprom.bin"), image);
    } else if (row.operation == 'G') {
      EXPECT_EQ(record[12], row.expected == S_OK ? 0x5A : 0) << "the byte read, in the reply";
      EXPECT_EQ(answer, row.expected == S_OK ? 28u : 0u) << "the reply's length";
    } else if (row.dataLength != 0) {
      EXPECT_EQ(answer, 0u) << "no support flags";
    }
  }
  EXPECT_EQ(properties->Release(), 0u);
  EXPECT_THAT(Read("board.log"), ::testing::HasSubstr("FilterReleased\n"));
}

// Where the board's registration set an access list, and the list.
std::wstring g_folder;
std::vector<BYTE> g_accessList;

DWORD WINAPI TakeAccessList(LPWSTR name, SE_OBJECT_TYPE, SECURITY_INFORMATION what, PSID, PSID,
                            PACL list, PACL) {
  g_folder = name;
  if ((what & DACL_SECURITY_INFORMATION) != 0 && list != nullptr)
    g_accessList.assign(reinterpret_cast<BYTE*>(list),
                        reinterpret_cast<BYTE*>(list) + list->AclSize);
  return ERROR_SUCCESS;
}

// Points the module's import address slots that hold `function` at `replacement`.
void Redirect(HMODULE module, ULONG_PTR function, ULONG_PTR replacement) {
  BYTE* base = reinterpret_cast<BYTE*>(module);
  const IMAGE_DATA_DIRECTORY& table =
      reinterpret_cast<IMAGE_NT_HEADERS*>(base +
                                          reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew)
          ->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IAT];
  auto* slots = reinterpret_cast<ULONG_PTR*>(base + table.VirtualAddress);
  DWORD protection = 0;
  VirtualProtect(slots, table.Size, PAGE_READWRITE, &protection);
  for (size_t i = 0; i < table.Size / sizeof(*slots); ++i)
    if (slots[i] == function) slots[i] = replacement;
  VirtualProtect(slots, table.Size, protection, &protection);
}

// What a folder's access list allows the machine's users (BUILTIN\Users) on
// the folder itself, or on a file made in it.
DWORD AllowedToUsers(std::vector<BYTE> list, bool inFile) {
  BYTE users[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof(users);
  CreateWellKnownSid(WinBuiltinUsersSid, nullptr, users, &size);
  DWORD allowed = 0;
  ACCESS_ALLOWED_ACE* entry = nullptr;
  for (DWORD i = 0;
       GetAce(reinterpret_cast<ACL*>(list.data()), i, reinterpret_cast<void**>(&entry)); ++i) {
    const BYTE flags = entry->Header.AceFlags;
    if (entry->Header.AceType == ACCESS_ALLOWED_ACE_TYPE && EqualSid(&entry->SidStart, users) &&
        (inFile ? (flags & OBJECT_INHERIT_ACE) != 0 : (flags & INHERIT_ONLY_ACE) == 0))
      allowed |= entry->Mask;
  }
  return allowed;
}

// Registered (or reset) by an administrator, the board is updated by ordinary
// users. Wine keeps no access lists on files, so the list set on the default
// EEPROM folder, an earlier registration's too, is taken from the call: users
// may add a file there and replace (rewrite, delete) one an administrator made.
TEST_F(SimulatedBoard, RegistrationLetsOrdinaryUsersReplaceTheFilesOfTheDefaultFolder) {
  Redirect(m_board,
           reinterpret_cast<ULONG_PTR>(
               GetProcAddress(GetModuleHandleA("advapi32.dll"), "SetNamedSecurityInfoW")),
           reinterpret_cast<ULONG_PTR>(TakeAccessList));
  SetEnvironmentVariableA("TRAVUNE_SIMBOARD_EEPROM", nullptr);
  const auto registerServer = Export<HRESULT STDAPICALLTYPE()>("DllRegisterServer");
  ASSERT_EQ(registerServer(), S_OK);  // makes the folder
  g_accessList.clear();
  ASSERT_EQ(registerServer(), S_OK);  // finds it made
  wchar_t file[MAX_PATH] = L"";
  DWORD size = sizeof(file);
  RegGetValueW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + BOARD_CLASS).c_str(), L"EepromFile",
               RRF_RT_REG_SZ, nullptr, file, &size);
  EXPECT_EQ(g_folder, std::wstring(file).substr(0, std::wstring(file).rfind(L'\\')));
  ASSERT_FALSE(g_accessList.empty());
  EXPECT_EQ(AllowedToUsers(g_accessList, false) & FILE_ADD_FILE, DWORD(FILE_ADD_FILE));
  const DWORD replace = FILE_GENERIC_WRITE | DELETE;
  EXPECT_EQ(AllowedToUsers(g_accessList, true) & replace, replace);
}

}  // namespace
