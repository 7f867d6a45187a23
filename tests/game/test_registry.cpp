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
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kTestKey, "Value", L"default"), L"default") << "no key";
  const std::string longText(40000, 'p');
  const std::wstring wideLongText(40000, L'p');
  struct Case {
    const char* what;
    DWORD type;
    std::string bytes;
    std::wstring expected;
  };
  const Case cases[] = {
      {"only the NUL is empty text, not the default", REG_SZ, std::string(1, '\0'), L""},
      {"no bytes at all", REG_SZ, "", L""},
      {"list of texts", REG_MULTI_SZ, std::string("C:\\Games\0\0", 10), L"default"},
      {"binary bytes", REG_BINARY, std::string("C:\\Games\0", 9), L"default"},
      {"number", REG_DWORD, std::string("\1\0\0\0", 4), L"default"},
      {"long and without its NUL", REG_SZ, longText, wideLongText},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(test_support::SetMachineValue(kTestKey, "Value", c.type, c.bytes)) << c.what;
    const std::wstring read = GetRegString(HKEY_LOCAL_MACHINE, kTestKey, "Value", L"default");
    // Compared whole but printed short: a failure need not show forty thousand characters.
    EXPECT_TRUE(read == c.expected) << c.what << ": " << read.size() << " bytes, \""
                                    << read.substr(0, 20) << "\"";
  }
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kTestKey, "Other", L"default"), L"default")
      << "no value";
  test_support::DeleteMachineKey(kTestRoot);
}

}  // namespace
