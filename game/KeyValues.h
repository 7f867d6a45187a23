#pragma once
// Valve's text format of keys and values, in which Steam keeps what it knows of its libraries and
// of each installed game:
//
//   "AppState"
//   {
//       "appid"       "266840"
//       "installdir"  "Age of Mythology"   // a comment
//   }
//
// A key is followed by its value, a text, or by a block in braces of further keys. Keys and texts
// stand in double quotes, where \\ is one backslash and \" a quote (also \n and \t, as Steam reads
// them); unquoted words are taken too. Keys are compared without regard to case, as Steam does.
// Pure: bytes in, a tree out.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct KeyValue {
  std::string key;
  std::string text;               // a text value; empty for a block
  std::vector<KeyValue> entries;  // a block's keys, in the file's order
  bool isBlock = false;

  // The first entry of this block with the key, in any case; nullptr when there is none.
  const KeyValue* Find(std::string_view name) const;
};

// Files beyond this size or nesting are not Steam's: they are passed over.
inline constexpr size_t kLargestKeyValuesFile = 4 << 20;
inline constexpr int kDeepestKeyValuesBlock = 32;

// The file's top-level keys, as the entries of a block; nothing when the text is not of this
// format (an unclosed quote or block, a key without its value, a closing brace too many) or goes
// beyond the bounds above. A UTF-8 byte-order mark at the start is passed over.
std::optional<KeyValue> ReadKeyValues(std::string_view text);
