// The simulated board loaded in-process: its property set, and what its
// registration does to the registry and the default EEPROM folder.
#include <aclapi.h>

#include <array>

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

// As the driver, the board reads the request in the instance data, malformed
// in these rows: each is refused, changes nothing and answers no byte.
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
    ASSERT_NE(m_board, nullptr) << Env("TRAVUNE_E2E_BOARD");
  }

  template <typename Function>
  Function* Export(const char* name) const {
    return reinterpret_cast<Function*>(reinterpret_cast<void (*)()>(GetProcAddress(m_board, name)));
  }

  HMODULE m_board = nullptr;
};

TEST_F(SimulatedBoard, TakesTheRequestFromTheInstanceDataAndRefusesMalformedOnes) {
  CLSID filterClass;
  CLSIDFromString(BOARD_CLASS, &filterClass);
  IClassFactory* factory = nullptr;
  IKsPropertySet* properties = nullptr;
  ASSERT_EQ(Export<HRESULT STDAPICALLTYPE(REFCLSID, REFIID, void**)>("DllGetClassObject")(
                filterClass, IID_IClassFactory, reinterpret_cast<void**>(&factory)),
            S_OK);
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
    std::array<BYTE, 28> record = {1, 0xA0, BYTE(row.operation == 'S' ? 5 : 1), 8, 1, 2, 3, 4};
    record[11] = row.operation == 'G' ? 1 : 0;
    std::array<BYTE, 28> instance = record;
    if (row.field >= 0) instance[row.field] = row.value;
    const GUID& set = row.otherSet ? otherSet : PROPSETID_EEPROM_ACCESS;
    void* data = row.dataLength != 0 ? record.data() : nullptr;
    void* in = row.instanceLength >= 0 ? instance.data() : nullptr;
    const DWORD inLength = row.instanceLength >= 0 ? row.instanceLength : 0;
    DWORD answer = 0;  // the support flags or the length returned
    const HRESULT result =
        row.operation == 'S' ? properties->Set(set, row.id, in, inLength, data, row.dataLength)
        : row.operation == 'G'
            ? properties->Get(set, row.id, in, inLength, data, row.dataLength, &answer)
            : properties->QuerySupported(set, row.id, row.dataLength != 0 ? &answer : nullptr);
    EXPECT_EQ(result, row.expected);
    EXPECT_EQ(Read("eeprom.bin"), image);
    EXPECT_EQ(record[12], row.expected == S_OK ? 0x5A : 0) << "the byte read, in the reply";
    EXPECT_EQ(answer, row.expected == S_OK ? 28u : 0u) << "the reply's length, or support flags";
  }
  EXPECT_EQ(properties->Release(), 0u);
  EXPECT_THAT(Read("board.log"), ::testing::HasSubstr("FilterReleased\n"));
}

// Where registration set an access list, and what it allows BUILTIN\Users on
// the folder and on a file made in it.
std::wstring g_folder;
DWORD g_allowedOnFolder, g_allowedOnFile;

DWORD WINAPI TakeAccessList(LPWSTR name, SE_OBJECT_TYPE, SECURITY_INFORMATION what, PSID, PSID,
                            PACL list, PACL) {
  g_folder = name;
  BYTE users[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof(users);
  CreateWellKnownSid(WinBuiltinUsersSid, nullptr, users, &size);
  ACCESS_ALLOWED_ACE* entry = nullptr;
  for (DWORD i = 0; (what & DACL_SECURITY_INFORMATION) != 0 && list != nullptr &&
                    GetAce(list, i, reinterpret_cast<void**>(&entry));
       ++i) {
    if (entry->Header.AceType != ACCESS_ALLOWED_ACE_TYPE || !EqualSid(&entry->SidStart, users))
      continue;
    if ((entry->Header.AceFlags & INHERIT_ONLY_ACE) == 0) g_allowedOnFolder |= entry->Mask;
    if ((entry->Header.AceFlags & OBJECT_INHERIT_ACE) != 0) g_allowedOnFile |= entry->Mask;
  }
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

// Registered by an administrator, the board is updated by ordinary users:
// Wine keeps no access lists on files, so the list set on the default EEPROM
// folder (an existing one too) is taken from the call. Other devices' entries
// under a category stay; the tuner's category stands for both.
TEST_F(SimulatedBoard, RegistrationOpensTheDefaultFolderToUsersAndLeavesOtherDevicesAlone) {
  const std::string CATEGORY = "CLSID\\{71985F48-1CA1-11D3-9CC8-00C04F7971E0}";
  const std::string OTHER = CATEGORY + "\\Instance\\Another Vendor's Device";
  const std::string BOARD_TUNER = CATEGORY + "\\Instance\\Travune Simulated Tuner 1";
  const auto holds = [](const std::string& key, const char* value) {
    return RegGetValueA(HKEY_CLASSES_ROOT, key.c_str(), value, RRF_RT_REG_SZ, nullptr, nullptr,
                        nullptr) == ERROR_SUCCESS;
  };
  Redirect(m_board,
           reinterpret_cast<ULONG_PTR>(
               GetProcAddress(GetModuleHandleA("advapi32.dll"), "SetNamedSecurityInfoW")),
           reinterpret_cast<ULONG_PTR>(TakeAccessList));
  SetEnvironmentVariableA("TRAVUNE_SIMBOARD_EEPROM", nullptr);
  const auto registerServer = Export<HRESULT STDAPICALLTYPE()>("DllRegisterServer");
  ASSERT_EQ(registerServer(), S_OK);  // makes the folder
  RegSetKeyValueA(HKEY_CLASSES_ROOT, OTHER.c_str(), "FriendlyName", REG_SZ, "Other", 6);
  RegSetKeyValueA(HKEY_CLASSES_ROOT, CATEGORY.c_str(), "Owner", REG_SZ, "machine", 8);
  g_allowedOnFolder = g_allowedOnFile = 0;
  ASSERT_EQ(registerServer(), S_OK);  // over the earlier registration
  wchar_t file[MAX_PATH] = L"";
  DWORD size = sizeof(file);
  RegGetValueW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + BOARD_CLASS).c_str(), L"EepromFile",
               RRF_RT_REG_SZ, nullptr, file, &size);
  EXPECT_EQ(g_folder, std::wstring(file).substr(0, std::wstring(file).rfind(L'\\')));
  EXPECT_EQ(g_allowedOnFolder & FILE_ADD_FILE, DWORD(FILE_ADD_FILE));
  EXPECT_EQ(g_allowedOnFile & (FILE_GENERIC_WRITE | DELETE), DWORD(FILE_GENERIC_WRITE | DELETE));

  EXPECT_TRUE(holds(BOARD_TUNER, "FriendlyName"));
  ASSERT_EQ(Export<HRESULT STDAPICALLTYPE()>("DllUnregisterServer")(), S_OK);
  EXPECT_FALSE(holds(BOARD_TUNER, "FriendlyName"));
  EXPECT_TRUE(holds(OTHER, "FriendlyName"));
  EXPECT_TRUE(holds(CATEGORY, "Owner"));
  RegDeleteTreeA(HKEY_CLASSES_ROOT, OTHER.c_str());
  RegDeleteKeyValueA(HKEY_CLASSES_ROOT, CATEGORY.c_str(), "Owner");
}

}  // namespace
