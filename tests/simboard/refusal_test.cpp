// Malformed requests are refused with a failure and change nothing.
#include <cstring>
#include <functional>

#include "board_client.h"
#include "board_test_fixture.h"

namespace {

class Refusal : public BoardTest {
 protected:
  void SetUp() override {
    BoardTest::SetUp();
    ASSERT_NO_FATAL_FAILURE(OpenBoard());
    ASSERT_EQ(S_OK, WriteBlock(board_, 0, 1, 2, 3, 4));
    before_ = EepromFile();
    ASSERT_EQ(EEPROM_SIZE, before_.size());
  }

  HRESULT SetWith(const std::function<void(EEPROM_WRITE_REQUEST&)>& spoil) {
    const BYTE data[4] = {0x99, 0x98, 0x97, 0x96};
    EEPROM_WRITE_REQUEST request = MakeWriteRequest(4, data);
    spoil(request);
    return board_->Set(PROPSETID_EEPROM_ACCESS, EEPROM_PROPERTY_WRITE, &request, sizeof(request),
                       &request, sizeof(request));
  }

  HRESULT GetWith(const std::function<void(EEPROM_READ_REQUEST&)>& spoil) {
    EEPROM_READ_REQUEST request = MakeReadRequest(1);
    spoil(request);
    std::memset(request.ReadData, 0xEE, sizeof(request.ReadData));
    HRESULT hr = GetInPlace(board_, &request);
    EXPECT_EQ(0xEE, request.ReadData[0]);
    return hr;
  }

  void ExpectUnchanged() { EXPECT_EQ(before_, EepromFile()); }

  std::vector<BYTE> before_;
};

TEST_F(Refusal, WritesWithWrongRecordFields) {
  EXPECT_TRUE(FAILED(SetWith([](EEPROM_WRITE_REQUEST& r) { r.Selector = 0; })));
  EXPECT_TRUE(FAILED(SetWith([](EEPROM_WRITE_REQUEST& r) { r.Selector = 2; })));
  EXPECT_TRUE(FAILED(SetWith([](EEPROM_WRITE_REQUEST& r) { r.DeviceAddress = 0xA2; })));
  EXPECT_TRUE(FAILED(SetWith([](EEPROM_WRITE_REQUEST& r) { r.WriteCount = 4; })));
  EXPECT_TRUE(FAILED(SetWith([](EEPROM_WRITE_REQUEST& r) { r.WriteCount = 16; })));
  ExpectUnchanged();
}

TEST_F(Refusal, WritesAtUnalignedOrTooHighOffsets) {
  for (int offset : {1, 2, 3, 6, 253, 254, 255}) {
    EXPECT_TRUE(FAILED(SetWith([offset](EEPROM_WRITE_REQUEST& r) {
      r.WriteData[0] = static_cast<BYTE>(offset);
    }))) << offset;
  }
  ExpectUnchanged();
}

TEST_F(Refusal, WritesWithWrongSetPropertyLengthsOrBuffers) {
  const BYTE data[4] = {9, 9, 9, 9};
  EEPROM_WRITE_REQUEST r = MakeWriteRequest(4, data);
  DWORD size = sizeof(r);
  EXPECT_EQ(E_PROP_SET_UNSUPPORTED, board_->Set(IID_IUnknown, 0, &r, size, &r, size));
  EXPECT_EQ(E_PROP_ID_UNSUPPORTED, board_->Set(PROPSETID_EEPROM_ACCESS, 2, &r, size, &r, size));
  EXPECT_EQ(E_PROP_ID_UNSUPPORTED, board_->Set(PROPSETID_EEPROM_ACCESS, 1, &r, size, &r, size));
  EXPECT_TRUE(FAILED(board_->Set(PROPSETID_EEPROM_ACCESS, 0, &r, size, &r, size - 1)));
  EXPECT_TRUE(FAILED(board_->Set(PROPSETID_EEPROM_ACCESS, 0, &r, size, &r, size + 1)));
  EXPECT_TRUE(FAILED(board_->Set(PROPSETID_EEPROM_ACCESS, 0, &r, size - 1, &r, size)));
  EXPECT_TRUE(FAILED(board_->Set(PROPSETID_EEPROM_ACCESS, 0, &r, size, nullptr, size)));
  EXPECT_TRUE(FAILED(board_->Set(PROPSETID_EEPROM_ACCESS, 0, nullptr, size, &r, size)));
  EXPECT_TRUE(FAILED(board_->Set(PROPSETID_EEPROM_ACCESS, 0, nullptr, 0, nullptr, 0)));
  ExpectUnchanged();
}

TEST_F(Refusal, ReadsWithWrongRecordFields) {
  EXPECT_TRUE(FAILED(GetWith([](EEPROM_READ_REQUEST& r) { r.Selector = 0; })));
  EXPECT_TRUE(FAILED(GetWith([](EEPROM_READ_REQUEST& r) { r.DeviceAddress = 0xA1; })));
  EXPECT_TRUE(FAILED(GetWith([](EEPROM_READ_REQUEST& r) { r.WriteCount = 0; })));
  EXPECT_TRUE(FAILED(GetWith([](EEPROM_READ_REQUEST& r) { r.WriteCount = 2; })));
  EXPECT_TRUE(FAILED(GetWith([](EEPROM_READ_REQUEST& r) { r.ReadCount = 0; })));
  EXPECT_TRUE(FAILED(GetWith([](EEPROM_READ_REQUEST& r) { r.ReadCount = 17; })));
  ExpectUnchanged();
}

TEST_F(Refusal, ReadsWithWrongSetPropertyLengthsOrBuffers) {
  EEPROM_READ_REQUEST r = MakeReadRequest(1);
  r.ReadData[0] = 0xEE;
  DWORD size = sizeof(r);
  DWORD returned = 0;
  EXPECT_EQ(E_PROP_SET_UNSUPPORTED, board_->Get(IID_IUnknown, 2, &r, size, &r, size, &returned));
  EXPECT_EQ(E_PROP_ID_UNSUPPORTED,
            board_->Get(PROPSETID_EEPROM_ACCESS, 0, &r, size, &r, size, &returned));
  EXPECT_TRUE(FAILED(board_->Get(PROPSETID_EEPROM_ACCESS, 2, &r, size, &r, size - 1, &returned)));
  EXPECT_TRUE(FAILED(board_->Get(PROPSETID_EEPROM_ACCESS, 2, &r, size, &r, 19, &returned)));
  EXPECT_TRUE(FAILED(board_->Get(PROPSETID_EEPROM_ACCESS, 2, &r, 19, &r, size, &returned)));
  EXPECT_TRUE(FAILED(board_->Get(PROPSETID_EEPROM_ACCESS, 2, &r, size, nullptr, size, &returned)));
  EXPECT_EQ(0xEE, r.ReadData[0]);
  ExpectUnchanged();
}

TEST_F(Refusal, EveryRefusalIsLoggedWithItsResult) {
  SetWith([](EEPROM_WRITE_REQUEST& r) { r.WriteData[0] = 2; });
  std::vector<std::string> lines = LogLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ("Set prop=0 offset=2 bytes=99989796 result=E_INVALIDARG", lines.back());
}

}  // namespace
