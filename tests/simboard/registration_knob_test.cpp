// Registration-time knobs and the EEPROM location recorded at registration:
// the test registers the board again with DllRegisterServer of the very DLL
// the class names, and puts the normal registration back afterwards.
#include "board_client.h"
#include "board_test_fixture.h"
#include "device_ids.h"
#include "simboard_ids.h"

namespace {

typedef HRESULT(WINAPI* RegisterFunction)();

std::wstring RegisteredText(const std::wstring& key, const wchar_t* value) {
  wchar_t text[MAX_PATH] = {};
  DWORD size = sizeof(text);
  if (RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), value, RRF_RT_REG_SZ, nullptr, text, &size) !=
      ERROR_SUCCESS) {
    return std::wstring();
  }
  return text;
}

class RegistrationKnob : public BoardTest {
 protected:
  void SetUp() override {
    BoardTest::SetUp();
    std::wstring dll = RegisteredText(
        std::wstring(L"CLSID\\") + SIMBOARD_CLSID_TEXT + L"\\InprocServer32", nullptr);
    ASSERT_FALSE(dll.empty());
    module_ = LoadLibraryW(dll.c_str());
    ASSERT_NE(nullptr, module_);
    reg_ = reinterpret_cast<RegisterFunction>(
        reinterpret_cast<void*>(GetProcAddress(module_, "DllRegisterServer")));
    ASSERT_NE(nullptr, reg_);
  }
  void TearDown() override {
    if (reg_ != nullptr) {
      ScopedEnvironment noEeprom("TRAVUNE_SIMBOARD_EEPROM", nullptr);
      EXPECT_EQ(S_OK, reg_());
    }
    if (module_ != nullptr) FreeLibrary(module_);
    BoardTest::TearDown();
  }

  HMODULE module_ = nullptr;
  RegisterFunction reg_ = nullptr;
};

TEST_F(RegistrationKnob, NoReceiverLeavesTheReceiverCategoryEmpty) {
  {
    ScopedEnvironment knob("TRAVUNE_SIMBOARD_NO_RECEIVER", "1");
    ASSERT_EQ(S_OK, reg_());
  }
  std::vector<CategoryEntry> entries;
  EXPECT_EQ(S_FALSE, ListCategory(KSCATEGORY_BDA_RECEIVER_COMPONENT, &entries));
  EXPECT_EQ(S_OK, ListCategory(KSCATEGORY_BDA_NETWORK_TUNER, &entries));
}

TEST_F(RegistrationKnob, TunerNameCanBeAnother) {
  {
    ScopedEnvironment knob("TRAVUNE_SIMBOARD_TUNER_NAME", "Travune Digital Tuner 2 (DVB-T)");
    ASSERT_EQ(S_OK, reg_());
  }
  std::vector<CategoryEntry> tuners;
  ASSERT_EQ(S_OK, ListCategory(KSCATEGORY_BDA_NETWORK_TUNER, &tuners));
  ASSERT_EQ(1u, tuners.size());
  EXPECT_EQ(std::wstring(L"Travune Digital Tuner 2 (DVB-T)"), tuners[0].friendlyName);
  BoardSession session;
  EXPECT_NE(S_OK, session.Open());
}

TEST_F(RegistrationKnob, EepromFileRecordedAtRegistrationIsUsedWithoutTheVariable) {
  ASSERT_EQ(S_OK, reg_());  // the fixture's TRAVUNE_SIMBOARD_EEPROM is recorded
  ScopedEnvironment noEeprom("TRAVUNE_SIMBOARD_EEPROM", nullptr);
  BoardSession session;
  ASSERT_EQ(S_OK, session.Open());
  ASSERT_EQ(S_OK, WriteBlock(session.PropertySet(), 0x80, 1, 2, 3, 4));
  std::vector<BYTE> file = EepromFile();
  ASSERT_EQ(EEPROM_SIZE, file.size());
  EXPECT_EQ(4, file[0x83]);
}

TEST_F(RegistrationKnob, DefaultEepromFileLivesInProgramData) {
  ScopedEnvironment noEeprom("TRAVUNE_SIMBOARD_EEPROM", nullptr);
  ASSERT_EQ(S_OK, reg_());
  std::wstring file =
      RegisteredText(std::wstring(L"CLSID\\") + SIMBOARD_CLSID_TEXT, SIMBOARD_EEPROM_FILE_VALUE);
  const std::wstring tail = L"\\Travune Simulated Board\\eeprom.bin";
  ASSERT_GT(file.size(), tail.size());
  EXPECT_EQ(tail, file.substr(file.size() - tail.size()));
}

}  // namespace
