#include "bounded_format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(BoundedFormat, FormatsShortTextAndSucceeds) {
  char buffer[16];
  EXPECT_EQ(S_OK, BoundedFormat(buffer, sizeof(buffer), "a%sc%d", "b", 7));
  EXPECT_STREQ("abc7", buffer);
}

TEST(BoundedFormat, ExactFillOfCapacityMinusOneIsSuccess) {
  char buffer[5];
  EXPECT_EQ(S_OK, BoundedFormat(buffer, sizeof(buffer), "%s", "abcd"));
  EXPECT_STREQ("abcd", buffer);
}

TEST(BoundedFormat, CutsLongTextTerminatesAndReportsIt) {
  char buffer[5];
  std::memset(buffer, 'x', sizeof(buffer));
  EXPECT_EQ(static_cast<HRESULT>(0x8007007A), BoundedFormat(buffer, sizeof(buffer), "%s", "abcde"));
  EXPECT_STREQ("abcd", buffer);
}

TEST(BoundedFormat, CapacityOneHoldsOnlyTheTerminator) {
  char buffer[2] = {'x', 'y'};
  EXPECT_EQ(static_cast<HRESULT>(0x8007007A), BoundedFormat(buffer, 1, "%s", "a"));
  EXPECT_EQ('\0', buffer[0]);
  EXPECT_EQ('y', buffer[1]);
  EXPECT_EQ(S_OK, BoundedFormat(buffer, 1, "%s", ""));
}

TEST(BoundedFormat, RejectsZeroAndHugeCapacityWithoutWriting) {
  char buffer[4] = {'k', 'e', 'e', 'p'};
  EXPECT_EQ(static_cast<HRESULT>(0x80070057), BoundedFormat(buffer, 0, "%s", "a"));
  EXPECT_EQ(static_cast<HRESULT>(0x80070057),
            BoundedFormat(buffer, static_cast<size_t>(0x80000000u), "%s", "a"));
  EXPECT_EQ(0, std::memcmp(buffer, "keep", 4));
}

TEST(BoundedFormat, LongestAllowedCapacityIsAccepted) {
  char buffer[8];
  EXPECT_EQ(S_OK, BoundedFormat(buffer, 0x7FFFFFFF, "%s", "ok"));
  EXPECT_STREQ("ok", buffer);
}

TEST(BoundedFormat, KeepsHighBytesAsTheyAre) {
  char buffer[256];
  EXPECT_EQ(S_OK, BoundedFormat(buffer, sizeof(buffer), "( 1 \xA1\xD1 %s )", "x"));
  EXPECT_EQ(std::string("( 1 \xA1\xD1 x )"), buffer);
}

}  // namespace
