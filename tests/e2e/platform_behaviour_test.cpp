// What registering the board does to the machine's registry.
#include <cstring>

#include "travune_e2e.h"

// A category's keys are the machine's: another device's entry under its
// Instance key, and a value of the category key's own, stay as they were.
// They are looked at in the registry view of the board's bitness, which the
// run's regsvr32 (of the same bitness) writes: the board's own entry comes
// and goes there. Both categories' entries are removed alike; the tuner's
// stands for both.
TEST_F(TravuneE2e, RegisteringAndUnregisteringLeavesOtherDevicesEntriesAlone) {
  const std::string CATEGORY = "{71985F48-1CA1-11D3-9CC8-00C04F7971E0}";
  const std::string OTHER = CATEGORY + "\\Instance\\Another Vendor's Device";
  const std::string BOARD_TUNER = CATEGORY + "\\Instance\\Travune Simulated Tuner 1";
  char header[1024] = {};
  std::ifstream(Env("TRAVUNE_E2E_BOARD").c_str(), std::ios::binary).read(header, sizeof(header));
  WORD machine = 0;  // past the signature of the header that e_lfanew finds
  std::memcpy(&machine, header + reinterpret_cast<IMAGE_DOS_HEADER*>(header)->e_lfanew + 4, 2);
  const REGSAM view = machine == IMAGE_FILE_MACHINE_I386 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;
  HKEY clsid = nullptr;
  RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID", 0, KEY_ALL_ACCESS | view, &clsid);
  const auto holds = [clsid](const std::string& key, const char* value) {
    return RegGetValueA(clsid, key.c_str(), value, RRF_RT_REG_SZ, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
  };

  ASSERT_NO_FATAL_FAILURE(Register(Board::Standard));
  ASSERT_TRUE(holds(BOARD_TUNER, "FriendlyName"));
  RegSetKeyValueA(clsid, OTHER.c_str(), "FriendlyName", REG_SZ, "Other", 6);
  RegSetKeyValueA(clsid, CATEGORY.c_str(), "Owner", REG_SZ, "machine", 8);
  ASSERT_NO_FATAL_FAILURE(Register(Board::Standard));  // over the earlier registration
  ASSERT_NO_FATAL_FAILURE(Register(Board::None));
  EXPECT_FALSE(holds(BOARD_TUNER, "FriendlyName")) << "not the view that the run's regsvr32 writes";
  EXPECT_TRUE(holds(OTHER, "FriendlyName"));
  EXPECT_TRUE(holds(CATEGORY, "Owner"));
  RegDeleteTreeA(clsid, OTHER.c_str());
  RegDeleteKeyValueA(clsid, CATEGORY.c_str(), "Owner");
  RegCloseKey(clsid);
}
