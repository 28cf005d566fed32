#include "eeprom_access.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "mock_property_set.h"

namespace {

using ::testing::_;
using ::testing::DoAll;
using ::testing::InSequence;
using ::testing::Invoke;
using ::testing::Return;
using ::testing::SetArgPointee;

std::vector<BYTE> Bytes(const void* data, size_t length) {
  const auto* bytes = static_cast<const BYTE*>(data);
  return std::vector<BYTE>(bytes, bytes + length);
}

class EepromAccessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EepromReadRequestBuffer() = EEPROM_READ_REQUEST{};
    EepromWriteRequestBuffer() = EEPROM_WRITE_REQUEST{};
  }

  void ExpectSupport(DWORD id, DWORD flags, HRESULT result = S_OK) {
    EXPECT_CALL(driver, QuerySupported(_, id, _))
        .WillOnce(DoAll(SetArgPointee<2>(flags), Return(result)));
  }

  ::testing::StrictMock<MockPropertySet> driver;
};

TEST_F(EepromAccessTest, ReadOfOffset255SendsTheFullRequestAndReportsReadData0) {
  InSequence order;
  ExpectSupport(EEPROM_PROPERTY_READ, KSPROPERTY_SUPPORT_GET);
  EXPECT_CALL(driver, Get(_, EEPROM_PROPERTY_READ, _, 28, _, 28, _))
      .WillOnce(Invoke([](REFGUID set, DWORD, LPVOID instance, DWORD, LPVOID data, DWORD, DWORD*) {
        EXPECT_TRUE(IsEqualGUID(set, PROPSETID_EEPROM_ACCESS));
        EXPECT_EQ(instance, data);
        const std::vector<BYTE> expected = {1, 0xA0, 1, 0xFF, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0,
                                            0, 0,    0, 0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        EXPECT_EQ(expected, Bytes(data, 28));
        static_cast<EEPROM_READ_REQUEST*>(data)->ReadData[0] = 0x5A;
        return S_OK;
      }));
  BYTE value = 0;
  EXPECT_TRUE(ReadEepromByte(&driver, 255, &value));
  EXPECT_EQ(0x5A, value);
  EXPECT_EQ(1u, driver.references);
}

TEST_F(EepromAccessTest, ReadLeavesWhatTheDriversLastReplyWroteBeyondTheOffset) {
  EXPECT_CALL(driver, QuerySupported(_, EEPROM_PROPERTY_READ, _))
      .Times(2)
      .WillRepeatedly(DoAll(SetArgPointee<2>(KSPROPERTY_SUPPORT_GET), Return(S_OK)));
  std::vector<BYTE> secondRequest;
  EXPECT_CALL(driver, Get(_, _, _, _, _, _, _))
      .WillOnce(Invoke([](REFGUID, DWORD, LPVOID, DWORD, LPVOID data, DWORD, DWORD*) {
        auto* request = static_cast<EEPROM_READ_REQUEST*>(data);
        std::memset(&request->WriteData[1], 0x77, 7);
        std::memset(request->ReadData, 0x33, sizeof(request->ReadData));
        return S_OK;
      }))
      .WillOnce(Invoke([&](REFGUID, DWORD, LPVOID, DWORD, LPVOID data, DWORD, DWORD*) {
        secondRequest = Bytes(data, 28);
        return S_OK;
      }));
  BYTE value = 0;
  ASSERT_TRUE(ReadEepromByte(&driver, 3, &value));
  ASSERT_TRUE(ReadEepromByte(&driver, 4, &value));
  const std::vector<BYTE> expected = {1,    0xA0, 1,    4,    0x77, 0x77, 0x77, 0x77, 0x77, 0x77,
                                      0x77, 1,    0x33, 0x33, 0x33, 0x33, 0x33, 0x33, 0x33, 0x33,
                                      0x33, 0x33, 0x33, 0x33, 0x33, 0x33, 0x33, 0x33};
  EXPECT_EQ(expected, secondRequest);
}

// A support query that fails, or succeeds without the flag the request needs
// (answering with the other direction's flag instead).
struct RefusedQuery {
  HRESULT result;
  bool neededFlagPresent;
};

class EepromRefusedQueryTest : public EepromAccessTest,
                               public ::testing::WithParamInterface<RefusedQuery> {};

TEST_P(EepromRefusedQueryTest, NoGetIsSentAndNoByteIsReported) {
  ExpectSupport(EEPROM_PROPERTY_READ,
                GetParam().neededFlagPresent ? KSPROPERTY_SUPPORT_GET : KSPROPERTY_SUPPORT_SET,
                GetParam().result);
  EXPECT_CALL(driver, Get(_, _, _, _, _, _, _)).Times(0);
  BYTE value = 0x11;
  EXPECT_FALSE(ReadEepromByte(&driver, 0, &value));
  EXPECT_EQ(0x11, value);
}

TEST_P(EepromRefusedQueryTest, NoSetIsSentAndTheBlockIsNotAccepted) {
  ExpectSupport(EEPROM_PROPERTY_WRITE,
                GetParam().neededFlagPresent ? KSPROPERTY_SUPPORT_SET : KSPROPERTY_SUPPORT_GET,
                GetParam().result);
  EXPECT_CALL(driver, Set(_, _, _, _, _, _)).Times(0);
  const BYTE data[4] = {1, 2, 3, 4};
  EXPECT_FALSE(WriteEepromBlock(&driver, 0, data));
}

INSTANTIATE_TEST_SUITE_P(QueryResults, EepromRefusedQueryTest,
                         ::testing::Values(RefusedQuery{S_FALSE, true}, RefusedQuery{E_FAIL, true},
                                           RefusedQuery{S_OK, false}));

TEST_F(EepromAccessTest, GetAnsweringSFalseYieldsNoByteEvenWithReadDataFilled) {
  ExpectSupport(EEPROM_PROPERTY_READ, KSPROPERTY_SUPPORT_GET);
  EXPECT_CALL(driver, Get(_, _, _, _, _, _, _))
      .WillOnce(Invoke([](REFGUID, DWORD, LPVOID, DWORD, LPVOID data, DWORD, DWORD*) {
        static_cast<EEPROM_READ_REQUEST*>(data)->ReadData[0] = 0x20;
        return S_FALSE;
      }));
  BYTE value = 0x99;
  EXPECT_FALSE(ReadEepromByte(&driver, 0, &value));
  EXPECT_EQ(0x99, value);
}

TEST_F(EepromAccessTest, WriteAt252SendsTheBlockWithAZeroTailEvenAfterTheDriverScribbled) {
  InSequence order;
  for (int attempt = 0; attempt < 2; ++attempt) {
    ExpectSupport(EEPROM_PROPERTY_WRITE, KSPROPERTY_SUPPORT_SET);
    EXPECT_CALL(driver, Set(_, EEPROM_PROPERTY_WRITE, _, 19, _, 19))
        .WillOnce(Invoke([](REFGUID set, DWORD, LPVOID instance, DWORD, LPVOID data, DWORD) {
          EXPECT_TRUE(IsEqualGUID(set, PROPSETID_EEPROM_ACCESS));
          EXPECT_EQ(instance, data);
          const std::vector<BYTE> expected = {1, 0xA0, 5, 252, 0xDE, 0xAD, 0xBE, 0xEF, 0, 0,
                                              0, 0,    0, 0,   0,    0,    0,    0,    0};
          EXPECT_EQ(expected, Bytes(data, 19));
          std::memset(data, 0xCC, 19);  // a driver that writes back into the request
          return S_OK;
        }));
  }
  const BYTE data[4] = {0xDE, 0xAD, 0xBE, 0xEF};
  EXPECT_TRUE(WriteEepromBlock(&driver, 252, data));
  EXPECT_TRUE(WriteEepromBlock(&driver, 252, data));
  EXPECT_EQ(1u, driver.references);
}

TEST_F(EepromAccessTest, WriteIsAcceptedOnlyOnExactlySOk) {
  for (HRESULT result : {S_FALSE, E_FAIL, static_cast<HRESULT>(2)}) {
    ExpectSupport(EEPROM_PROPERTY_WRITE, KSPROPERTY_SUPPORT_SET);
    EXPECT_CALL(driver, Set(_, _, _, _, _, _)).WillOnce(Return(result));
    const BYTE data[4] = {};
    EXPECT_FALSE(WriteEepromBlock(&driver, 0, data)) << "result " << result;
  }
}

TEST_F(EepromAccessTest, EveryRequestIsPrecededByItsOwnSupportQuery) {
  InSequence order;
  for (int i = 0; i < 2; ++i) {
    ExpectSupport(EEPROM_PROPERTY_READ, KSPROPERTY_SUPPORT_GET);
    EXPECT_CALL(driver, Get(_, _, _, _, _, _, _)).WillOnce(Return(S_OK));
    ExpectSupport(EEPROM_PROPERTY_WRITE, KSPROPERTY_SUPPORT_SET);
    EXPECT_CALL(driver, Set(_, _, _, _, _, _)).WillOnce(Return(S_OK));
  }
  BYTE value = 0;
  const BYTE data[4] = {};
  for (int i = 0; i < 2; ++i) {
    EXPECT_TRUE(ReadEepromByte(&driver, 0, &value));
    EXPECT_TRUE(WriteEepromBlock(&driver, 0, data));
  }
}

}  // namespace
