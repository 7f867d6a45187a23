// GetRegString against the real registry of the test prefix, with values the test writes itself.
#include <gtest/gtest.h>

#include <string>

#include "game/modRegistry.h"
#include "tests/support/RegistrySupport.h"

namespace {

using test_support::DeleteMachineKey;
using test_support::SetMachineValue;

const std::string kTestRoot = "Software\\TessivaneTests";
const std::string kTestKey = kTestRoot + "\\GetRegString";

class GetRegStringTest : public ::testing::Test {
 protected:
  void SetUp() override { DeleteMachineKey(kTestRoot); }
  void TearDown() override { DeleteMachineKey(kTestRoot); }
};

TEST_F(GetRegStringTest, StringValueIsCutAtItsFirstNulAndOtherTypesGiveTheDefault) {
  struct Case {
    const char* what;
    DWORD type;
    std::string bytes;
    std::string expected;
  };
  const Case cases[] = {
      {"terminated text", REG_SZ, std::string("C:\\Games\\AoM\0", 13), "C:\\Games\\AoM"},
      {"stored without its NUL", REG_SZ, "C:\\Games\\AoM", "C:\\Games\\AoM"},
      {"NUL inside", REG_SZ, std::string("C:\\A\0C:\\B\0", 10), "C:\\A"},
      {"only the NUL is empty text, not the default", REG_SZ, std::string("\0", 1), ""},
      {"no bytes at all", REG_SZ, "", ""},
      {"spaces are kept", REG_SZ, std::string(" x \0", 4), " x "},
      {"expandable text is not accepted", REG_EXPAND_SZ, std::string("C:\\Games\0", 9),
       "default"},
      {"list of texts", REG_MULTI_SZ, std::string("C:\\Games\0\0", 10), "default"},
      {"binary bytes", REG_BINARY, std::string("C:\\Games\0", 9), "default"},
      {"number", REG_DWORD, std::string("\1\0\0\0", 4), "default"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(SetMachineValue(kTestKey, "Value", c.type, c.bytes)) << c.what;
    EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kTestKey, "Value", "default"), c.expected)
        << c.what;
  }
}

TEST_F(GetRegStringTest, MissingKeyOrValueGivesTheDefault) {
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kTestKey, "Value", "default"), "default");
  ASSERT_TRUE(SetMachineValue(kTestKey, "Other", REG_SZ, std::string("x\0", 2)));
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kTestKey, "Value", "default"), "default");
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kTestKey, "Value", ""), "");
  // The key is opened under the root it is given: this one is not under HKEY_CURRENT_USER.
  EXPECT_EQ(GetRegString(HKEY_CURRENT_USER, kTestKey, "Other", "default"), "default");
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kTestKey, "Other", "default"), "x");
}

TEST_F(GetRegStringTest, LongTextIsNotLimitedToSixteenBitPositions) {
  // Compared by size and content, so that a failure does not print forty thousand characters.
  const std::string text(40000, 'p');
  ASSERT_TRUE(SetMachineValue(kTestKey, "Long", REG_SZ, text + '\0' + "tail"));
  std::string read = GetRegString(HKEY_LOCAL_MACHINE, kTestKey, "Long", "default");
  EXPECT_EQ(read.size(), text.size());
  EXPECT_TRUE(read == text);
  ASSERT_TRUE(SetMachineValue(kTestKey, "Long", REG_SZ, text));
  read = GetRegString(HKEY_LOCAL_MACHINE, kTestKey, "Long", "default");
  EXPECT_EQ(read.size(), text.size());
  EXPECT_TRUE(read == text);
}

}  // namespace
