#pragma once
// Comparing text without regard to the letter case of ASCII letters, whatever the code page:
// names the game and Windows spell in ASCII ("Program Files", the built-in scenarios, ".scn") are
// recognised in any case, and other bytes are compared as they are. Pure: builds natively too.
#include <algorithm>
#include <string_view>

inline char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

inline bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiLower(x) == AsciiLower(y);
         });
}

inline bool StartsWithIgnoringAsciiCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsIgnoringAsciiCase(text.substr(0, prefix.size()), prefix);
}
