// Parsing of the fault knobs and the board's own image, without COM.
#include "knobs.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "eeprom_image.h"
#include "eeprom_protocol.h"
#include "factory_image.h"

namespace {

EnvironmentLookup From(std::map<std::string, std::string> variables) {
  return [variables](const char* name, std::string* value) {
    auto found = variables.find(name);
    if (found == variables.end()) return false;
    *value = found->second;
    return true;
  };
}

TEST(Knobs, AllOffWhenNothingIsSet) {
  std::vector<std::string> complaints;
  FilterKnobs knobs = ParseFilterKnobs(From({}), &complaints);
  EXPECT_TRUE(knobs.refusedReads.empty());
  EXPECT_TRUE(knobs.refusedBlocks.empty());
  EXPECT_EQ(S_OK, knobs.getResult);
  EXPECT_EQ(S_OK, knobs.setResult);
  EXPECT_FALSE(knobs.omitGetSupport);
  EXPECT_FALSE(knobs.omitSetSupport);
  EXPECT_TRUE(complaints.empty());
  EXPECT_FALSE(ParseNoReceiver(From({}), &complaints));
}

TEST(Knobs, EmptyValuesAreOff) {
  std::vector<std::string> complaints;
  FilterKnobs knobs = ParseFilterKnobs(
      From({{"TRAVUNE_SIMBOARD_REFUSE_READS", ""}, {"TRAVUNE_SIMBOARD_REFUSE_BLOCK", " "}}),
      &complaints);
  EXPECT_TRUE(knobs.refusedReads.empty());
  EXPECT_TRUE(knobs.refusedBlocks.empty());
  EXPECT_TRUE(complaints.empty());
}

TEST(Knobs, ReadsTheDocumentedForms) {
  std::vector<std::string> complaints;
  FilterKnobs knobs = ParseFilterKnobs(From({{"TRAVUNE_SIMBOARD_REFUSE_READS", "0, 5,0xff"},
                                             {"TRAVUNE_SIMBOARD_REFUSE_BLOCK", "8:1,252:forever"},
                                             {"TRAVUNE_SIMBOARD_GET_RESULT", "S_FALSE"},
                                             {"TRAVUNE_SIMBOARD_SET_RESULT", "0x80004005"},
                                             {"TRAVUNE_SIMBOARD_NO_SUPPORT", "get,set"}}),
                                       &complaints);
  EXPECT_TRUE(complaints.empty());
  EXPECT_EQ((std::set<unsigned>{0, 5, 255}), knobs.refusedReads);
  EXPECT_EQ(1, knobs.refusedBlocks.at(8));
  EXPECT_EQ(REFUSE_FOREVER, knobs.refusedBlocks.at(252));
  EXPECT_EQ(S_FALSE, knobs.getResult);
  EXPECT_EQ(E_FAIL, knobs.setResult);
  EXPECT_TRUE(knobs.omitGetSupport);
  EXPECT_TRUE(knobs.omitSetSupport);
}

TEST(Knobs, BadValuesAreIgnoredWithAComplaintEach) {
  std::vector<std::string> complaints;
  FilterKnobs knobs = ParseFilterKnobs(
      From({{"TRAVUNE_SIMBOARD_REFUSE_READS", "-1,256,1e3,0x,7"},
            {"TRAVUNE_SIMBOARD_REFUSE_BLOCK", "256:1,3:1,8:-1,8:99999999999999999999,:"},
            {"TRAVUNE_SIMBOARD_GET_RESULT", "0x1234567890"},
            {"TRAVUNE_SIMBOARD_NO_SUPPORT", "GET"}}),
      &complaints);
  EXPECT_EQ((std::set<unsigned>{7}), knobs.refusedReads);
  EXPECT_TRUE(knobs.refusedBlocks.empty());
  EXPECT_EQ(S_OK, knobs.getResult);
  EXPECT_FALSE(knobs.omitGetSupport);
  EXPECT_EQ(11u, complaints.size());
  std::vector<std::string> more;
  EXPECT_FALSE(ParseNoReceiver(From({{"TRAVUNE_SIMBOARD_NO_RECEIVER", "yes"}}), &more));
  EXPECT_EQ(1u, more.size());
  EXPECT_TRUE(ParseNoReceiver(From({{"TRAVUNE_SIMBOARD_NO_RECEIVER", "1"}}), &more));
}

TEST(FactoryImage, IsAnOlderImageThanTheReference) {
  BYTE image[EEPROM_SIZE];
  CopyFactoryImage(image);
  EXPECT_NE(0, std::memcmp(image, g_EepromImage, EEPROM_SIZE));
  EXPECT_EQ(0, std::memcmp(image + 0x0C, g_EepromImage + 0x0C, 4)) << "same PCI identity";
  int differences = 0;
  for (unsigned i = 0; i < EEPROM_SIZE; ++i) differences += image[i] != g_EepromImage[i];
  EXPECT_LE(differences, 4);
  for (unsigned i = 0x28; i < EEPROM_SIZE; ++i) EXPECT_EQ(0xFF, image[i]) << i;
}

TEST(Protocol, AcceptsExactlyTheProgramsRecords) {
  EEPROM_WRITE_REQUEST write = {1, 0xA0, 5, {252, 1, 2, 3, 4}};
  EXPECT_EQ(S_OK, CheckWriteRequest(write));
  write.WriteData[0] = 250;
  EXPECT_EQ(E_INVALIDARG, CheckWriteRequest(write));
  EEPROM_READ_REQUEST read = {1, 0xA0, 1, {255}, 1, {}};
  EXPECT_EQ(S_OK, CheckReadRequest(read));
  EXPECT_EQ(S_OK, CheckRequestBuffers(&read, 28, &read, 28, 28));
  EXPECT_EQ(S_OK, CheckRequestBuffers(nullptr, 0, &read, 28, 28));
  EXPECT_EQ(E_POINTER, CheckRequestBuffers(&read, 28, nullptr, 28, 28));
  EXPECT_EQ(E_INVALIDARG, CheckRequestBuffers(&read, 27, &read, 28, 28));
}

}  // namespace
