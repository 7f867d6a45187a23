// The text of a registry string value, as the game's setup or any other writer stored them.
#include <gtest/gtest.h>

#include <string>

#include "game/RegistryText.h"

namespace {

TEST(RegistryText, TextEndsAtTheFirstNulOrWithTheBytes) {
  using namespace std::string_literals;
  const std::wstring longText(40000, L'p');
  struct Case {
    const char* what;
    std::wstring value;
    std::wstring text;
  };
  const Case cases[] = {
      {"terminated", L"C:\\Games\\AoM\0"s, L"C:\\Games\\AoM"},
      {"stored without its NUL", L"C:\\Games\\AoM", L"C:\\Games\\AoM"},
      {"cut at a NUL inside", L"C:\\Games\0\\AoM\0"s, L"C:\\Games"},
      {"only the NUL", L"\0"s, L""},
      {"no text", L"", L""},
      {"no 16-bit limit on where the NUL stands", longText + L'\0' + L"tail", longText},
  };
  for (const Case& c : cases) {
    // Compared whole but printed short: a failure need not show forty thousand characters.
    const std::wstring text = CutAtFirstNul(c.value);
    EXPECT_TRUE(text == c.text) << c.what << ": " << text.size() << " characters";
  }
}

}  // namespace
