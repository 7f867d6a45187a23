// GetRegString against the real registry of the test prefix, with values the test writes itself.
// The lookup's own test covers the usual AppPath texts and both registry views; these are the other
// types, where the text ends in the bytes, and a value longer than any path.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "game/modRegistry.h"
#include "platform/AnsiText.h"
#include "platform/Registry.h"
#include "platform/VirtualStore.h"
#include "tests/support/RegistrySupport.h"

namespace {

const std::string kTestRoot = "Software\\TessivaneTests";
const std::string kTestKey = kTestRoot + "\\GetRegString";

TEST(GetRegString, TextIsCutAtItsFirstNulAndAnythingElseGivesTheDefault) {
  test_support::DeleteMachineKey(kTestRoot);
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kTestKey, "Value", L"default"), L"default")
      << "no key";
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
      {"cut at a NUL inside", REG_SZ, std::string("C:\\Games\0\\AoM\0", 14), L"C:\\Games"},
      {"no 16-bit limit on where the NUL stands", REG_SZ, longText + '\0' + "tail", wideLongText},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(test_support::SetMachineValue(kTestKey, "Value", c.type, c.bytes)) << c.what;
    const std::wstring read = GetRegString(HKEY_LOCAL_MACHINE, kTestKey, "Value", L"default");
    // Compared whole but printed short: a failure need not show forty thousand characters.
    EXPECT_TRUE(read == c.expected)
        << c.what << ": " << read.size() << " bytes, \"" << read.substr(0, 20) << "\"";
  }
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kTestKey, "Other", L"default"), L"default")
      << "no value";
  test_support::DeleteMachineKey(kTestRoot);
}

// A value rewritten longer and shorter while it is read: every read gives one text or the other,
// never the default that a value grown between the two queries used to give.
TEST(GetRegString, ValueGrowingWhileItIsReadIsReadWhole) {
  const std::string shortText = "C:\\Games", longText(300, 'l');
  ASSERT_TRUE(test_support::SetMachineValue(kTestKey, "Value", REG_SZ, shortText + '\0'));
  std::atomic<bool> done = false;
  std::thread writer([&] {
    for (int n = 0; !done; ++n)
      (void)test_support::SetMachineValue(kTestKey, "Value", REG_SZ,
                                          (n % 2 ? longText : shortText) + '\0');
  });
  int other = 0;
  for (int n = 0; n < 3000; ++n) {
    const std::wstring read = GetRegString(HKEY_LOCAL_MACHINE, kTestKey, "Value", L"default");
    if (read != WideFromAnsi(shortText) && read != WideFromAnsi(longText) && ++other < 4)
      ADD_FAILURE() << read.size() << " characters";
  }
  done = true;
  writer.join();
  EXPECT_EQ(other, 0);
  test_support::DeleteMachineKey(kTestRoot);
}

// Where Windows virtualises the game (not under Wine, UAC on), the game sees the per-user copy of
// its key that Windows keeps under HKEY_CURRENT_USER before the machine's own; elsewhere it does
// not.
TEST(GetRegString, PerUserCopyOfTheKeyFirstWhereWindowsVirtualises) {
  test_support::MachineValueGuard lua{kSystemPolicyKey, kSystemPolicyKey, "EnableLUA",
                                      test_support::kNativeView};
  const std::string copyRoot =
      "Software\\Classes\\VirtualStore\\MACHINE\\SOFTWARE\\WOW6432Node\\TessivaneTests";
  ASSERT_TRUE(test_support::SetMachineValue(kTestKey, "Value", REG_SZ, std::string("machine", 8)));
  ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, (copyRoot + "\\GetRegString").c_str(), "Value",
                            REG_SZ, "per user", 9),
            ERROR_SUCCESS);
  struct Case {
    bool wine;
    DWORD enableLua;
    const wchar_t* expected;
  };
  for (const Case& c :
       {Case{false, 1, L"per user"}, Case{true, 1, L"machine"}, Case{false, 0, L"machine"}}) {
    SetRunningUnderWineForTests(c.wine);
    ASSERT_TRUE(test_support::SetMachineDword(kSystemPolicyKey, "EnableLUA", c.enableLua,
                                              test_support::kNativeView));
    EXPECT_TRUE(GetRegString(HKEY_LOCAL_MACHINE, kTestKey, "Value", L"default") == c.expected)
        << c.wine << c.enableLua;
  }
  SetRunningUnderWineForTests(std::nullopt);
  RegDeleteTreeA(HKEY_CURRENT_USER, copyRoot.c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, copyRoot.c_str());
  test_support::DeleteMachineKey(kTestRoot);
}

}  // namespace
