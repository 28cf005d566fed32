// The EEPROM property set as the program uses it.
#include <cstring>

#include "board_client.h"
#include "board_test_fixture.h"
#include "eeprom_image.h"

namespace {

class PropertySet : public BoardTest {
 protected:
  void SetUp() override {
    BoardTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(OpenBoard());
  }

  std::vector<BYTE> ReadAll() {
    std::vector<BYTE> bytes;
    for (unsigned offset = 0; offset < EEPROM_SIZE; ++offset) {
      BYTE value = 0;
      EXPECT_EQ(S_OK, ReadByte(board_, static_cast<BYTE>(offset), &value)) << offset;
      bytes.push_back(value);
    }
    return bytes;
  }
};

TEST_F(PropertySet, ReportsSetSupportForWriteAndGetSupportForRead) {
  DWORD support = 0xFFFF;
  EXPECT_EQ(S_OK, board_->QuerySupported(PROPSETID_EEPROM_ACCESS, EEPROM_PROPERTY_WRITE, &support));
  EXPECT_EQ(static_cast<DWORD>(KSPROPERTY_SUPPORT_SET), support);
  support = 0xFFFF;
  EXPECT_EQ(S_OK, board_->QuerySupported(PROPSETID_EEPROM_ACCESS, EEPROM_PROPERTY_READ, &support));
  EXPECT_EQ(static_cast<DWORD>(KSPROPERTY_SUPPORT_GET), support);
}

TEST_F(PropertySet, RefusesQueriesOfOtherPropertiesAndSets) {
  DWORD support = 0;
  EXPECT_TRUE(FAILED(board_->QuerySupported(PROPSETID_EEPROM_ACCESS, 1, &support)));
  EXPECT_TRUE(FAILED(board_->QuerySupported(PROPSETID_EEPROM_ACCESS, 3, &support)));
  EXPECT_TRUE(FAILED(board_->QuerySupported(IID_IUnknown, EEPROM_PROPERTY_READ, &support)));
  EXPECT_TRUE(
      FAILED(board_->QuerySupported(PROPSETID_EEPROM_ACCESS, EEPROM_PROPERTY_READ, nullptr)));
}

TEST_F(PropertySet, FreshBoardHoldsAnOlderImageWithTheBoardsPciIdentity) {
  std::vector<BYTE> bytes = ReadAll();
  ASSERT_EQ(EEPROM_SIZE, bytes.size());
  EXPECT_NE(0, std::memcmp(bytes.data(), g_EepromImage, EEPROM_SIZE));
  EXPECT_EQ(0, std::memcmp(bytes.data() + 0x0C, g_EepromImage + 0x0C, 4));
  EXPECT_EQ(0xFF, bytes[0x28]);
  EXPECT_EQ(0xFF, bytes[255]);
  EXPECT_TRUE(EepromFile().empty()) << "reads alone create no file";
}

TEST_F(PropertySet, SetStoresFourBytesAtTheOffsetAndTheFileFollows) {
  ASSERT_EQ(S_OK, WriteBlock(board_, 8, 0x11, 0x22, 0x33, 0x44));
  std::vector<BYTE> file = EepromFile();
  ASSERT_EQ(EEPROM_SIZE, file.size());
  EXPECT_EQ(0x11, file[8]);
  EXPECT_EQ(0x44, file[11]);
  EXPECT_EQ(g_EepromImage[12], file[12]);
  EXPECT_EQ(0x00, file[7]);

  BYTE value = 0;
  EXPECT_EQ(S_OK, ReadByte(board_, 9, &value));
  EXPECT_EQ(0x22, value);
  EXPECT_EQ(S_OK, WriteBlock(board_, 252, 1, 2, 3, 4));
  EXPECT_EQ(S_OK, ReadByte(board_, 255, &value));
  EXPECT_EQ(4, value);
}

TEST_F(PropertySet, GetAnswersInReadDataOfTheSameBuffer) {
  ASSERT_EQ(S_OK, WriteBlock(board_, 0x20, 0xA5, 0x5A, 0xC3, 0x3C));
  EEPROM_READ_REQUEST request = MakeReadRequest(0x22);
  std::memset(request.ReadData, 0xEE, sizeof(request.ReadData));
  ASSERT_EQ(S_OK, GetInPlace(board_, &request));
  EXPECT_EQ(0xC3, request.ReadData[0]);
  EXPECT_EQ(0x22, request.WriteData[0]);
}

TEST_F(PropertySet, AFullUpdateMakesTheBoardEqualToTheReferenceImage) {
  for (unsigned offset = 0; offset < EEPROM_SIZE; offset += 4) {
    ASSERT_EQ(S_OK, WriteBlock(board_, static_cast<BYTE>(offset), g_EepromImage[offset],
                               g_EepromImage[offset + 1], g_EepromImage[offset + 2],
                               g_EepromImage[offset + 3]));
  }
  std::vector<BYTE> bytes = ReadAll();
  EXPECT_EQ(0, std::memcmp(bytes.data(), g_EepromImage, EEPROM_SIZE));
}

TEST_F(PropertySet, LogsOneLinePerRequest) {
  BYTE value = 0;
  ASSERT_EQ(S_OK, WriteBlock(board_, 4, 0xde, 0xad, 0xbe, 0xef));
  ASSERT_EQ(S_OK, ReadByte(board_, 5, &value));
  std::vector<std::string> lines = LogLines();
  ASSERT_GE(lines.size(), 4u);
  std::vector<std::string> last(lines.end() - 4, lines.end());
  EXPECT_EQ("QuerySupported prop=0 offset=- bytes=- result=S_OK support=2", last[0]);
  EXPECT_EQ("Set prop=0 offset=4 bytes=deadbeef result=S_OK", last[1]);
  EXPECT_EQ("QuerySupported prop=2 offset=- bytes=- result=S_OK support=1", last[2]);
  EXPECT_EQ("Get prop=2 offset=5 bytes=ad result=S_OK", last[3]);
}

}  // namespace
