// GetRegString against the real registry of the test prefix, with values the test writes itself.
// The lookup's own test covers the usual AppPath texts and both registry views; these are the other
// types and a value longer than any path. (Where the text ends in the bytes: test_registry_text.)
#include <gtest/gtest.h>

#include <string>

#include "game/modRegistry.h"
#include "tests/support/RegistrySupport.h"

namespace {

const std::string kTestRoot = "Software\\TessivaneTests";
const std::string kTestKey = kTestRoot + "\\GetRegString";

TEST(GetRegString, TextIsCutAtItsFirstNulAndAnythingElseGivesTheDefault) {
  test_support::DeleteMachineKey(kTestRoot);
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kTestKey, "Value", "default"), "default") << "no key";
  const std::string longText(40000, 'p');
  struct Case {
    const char* what;
    DWORD type;
    std::string bytes;
    std::string expected;
  };
  const Case cases[] = {
      {"only the NUL is empty text, not the default", REG_SZ, std::string(1, '\0'), ""},
      {"no bytes at all", REG_SZ, "", ""},
      {"list of texts", REG_MULTI_SZ, std::string("C:\\Games\0\0", 10), "default"},
      {"binary bytes", REG_BINARY, std::string("C:\\Games\0", 9), "default"},
      {"number", REG_DWORD, std::string("\1\0\0\0", 4), "default"},
      {"long and without its NUL", REG_SZ, longText, longText},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(test_support::SetMachineValue(kTestKey, "Value", c.type, c.bytes)) << c.what;
    const std::string read = GetRegString(HKEY_LOCAL_MACHINE, kTestKey, "Value", "default");
    // Compared whole but printed short: a failure need not show forty thousand characters.
    EXPECT_TRUE(read == c.expected) << c.what << ": " << read.size() << " bytes, \""
                                    << read.substr(0, 20) << "\"";
  }
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kTestKey, "Other", "default"), "default")
      << "no value";
  test_support::DeleteMachineKey(kTestRoot);
}

}  // namespace
