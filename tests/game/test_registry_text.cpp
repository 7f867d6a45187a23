// The text of a registry string value's bytes, as the game's setup or any other writer stored them.
#include <gtest/gtest.h>

#include <string>

#include "game/RegistryText.h"

namespace {

TEST(RegistryText, TextEndsAtTheFirstNulOrWithTheBytes) {
  using namespace std::string_literals;
  const std::string longText(40000, 'p');
  struct Case {
    const char* what;
    std::string bytes;
    std::string text;
  };
  const Case cases[] = {
      {"terminated", "C:\\Games\\AoM\0"s, "C:\\Games\\AoM"},
      {"stored without its NUL", "C:\\Games\\AoM", "C:\\Games\\AoM"},
      {"cut at a NUL inside", "C:\\Games\0\\AoM\0"s, "C:\\Games"},
      {"only the NUL", "\0"s, ""},
      {"no bytes", "", ""},
      {"no 16-bit limit on where the NUL stands", longText + '\0' + "tail", longText},
  };
  for (const Case& c : cases) {
    // Compared whole but printed short: a failure need not show forty thousand characters.
    const std::string text = CutAtFirstNul(c.bytes);
    EXPECT_TRUE(text == c.text) << c.what << ": " << text.size() << " bytes";
  }
}

}  // namespace
