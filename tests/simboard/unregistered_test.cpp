// Run by the unregistration test after regsvr32 /u: nothing of the board
// may be left for the platform to find.
#include "board_client.h"
#include "board_test_fixture.h"
#include "device_ids.h"
#include "simboard_ids.h"

namespace {

using Unregistered = BoardTest;

TEST_F(Unregistered, DISABLED_NothingOfTheBoardIsLeft) {
  std::vector<CategoryEntry> entries;
  EXPECT_EQ(S_FALSE, ListCategory(KSCATEGORY_BDA_RECEIVER_COMPONENT, &entries));
  EXPECT_EQ(S_FALSE, ListCategory(KSCATEGORY_BDA_NETWORK_TUNER, &entries));

  IUnknown* object = nullptr;
  EXPECT_EQ(REGDB_E_CLASSNOTREG,
            CoCreateInstance(CLSID_TravuneSimBoard, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void**>(&object)));
  HKEY key = nullptr;
  std::wstring classKey = std::wstring(L"CLSID\\") + SIMBOARD_CLSID_TEXT;
  EXPECT_NE(ERROR_SUCCESS, RegOpenKeyExW(HKEY_CLASSES_ROOT, classKey.c_str(), 0, KEY_READ, &key));
  EXPECT_NE(ERROR_SUCCESS,
            RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID\\{FD0A5AF4-B41D-11D2-9C95-00C04F7971E0}", 0,
                          KEY_READ, &key));
  EXPECT_NE(ERROR_SUCCESS,
            RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID\\{71985F48-1CA1-11D3-9CC8-00C04F7971E0}", 0,
                          KEY_READ, &key));
}

}  // namespace
