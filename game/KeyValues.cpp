#include "game/KeyValues.h"

#include <algorithm>
#include <utility>

#include "platform/AnsiText.h"
#include "platform/PathText.h"

namespace {

enum class TokenKind { Text, Open, Close, Condition, End, Bad };

struct Token {
  TokenKind kind;
  std::string text;
};

constexpr std::string_view kBlanks = " \t\r\n\f";

// Moves `at` past blanks and comments.
void SkipBlanksAndComments(std::string_view text, size_t& at) {
  for (;;) {
    at = std::min(text.find_first_not_of(kBlanks, at), text.size());
    if (text.substr(at, 2) != "//") return;
    at = std::min(text.find('\n', at), text.size());
  }
}

// The quoted text that starts at `at`, which moves past its closing quote.
Token Quoted(std::string_view text, size_t& at) {
  std::string quoted;
  while (++at < text.size() && text[at] != '"') {
    char c = text[at];
    if (c == '\\' && at + 1 < text.size()) {
      c = text[++at];
      if (c == 'n' || c == 't') {
        c = c == 'n' ? '\n' : '\t';
      } else if (c != '\\' && c != '"') {
        quoted += '\\';  // not an escape Steam knows: both characters stand
      }
    }
    quoted += c;
  }
  if (at >= text.size()) return {TokenKind::Bad, {}};  // the file ends inside the quotes
  ++at;
  return {TokenKind::Text, std::move(quoted)};
}

// The token that starts at `at` (after blanks and comments), which moves past it.
Token Next(std::string_view text, size_t& at) {
  SkipBlanksAndComments(text, at);
  if (at >= text.size()) return {TokenKind::End, {}};
  const char c = text[at];
  if (c == '{' || c == '}') {
    ++at;
    return {c == '{' ? TokenKind::Open : TokenKind::Close, {}};
  }
  if (c == '"') return Quoted(text, at);
  // A word without quotes ends at a blank, a quote or a brace.
  const size_t start = at;
  at = std::min(text.find_first_of(" \t\r\n\f\"{}", at), text.size());
  return {c == '[' ? TokenKind::Condition : TokenKind::Text,
          std::string(text.substr(start, at - start))};
}

// The entries up to the end of the file (top level) or to the brace that closes the block.
std::optional<std::vector<KeyValue>> Entries(std::string_view text, size_t& at, int depth) {
  std::vector<KeyValue> entries;
  for (;;) {
    Token key = Next(text, at);
    if (key.kind == TokenKind::Condition) continue;  // "[$WIN32]" after a value: all are taken
    // The end of the file closes the top level, a brace a block.
    if (key.kind == (depth == 0 ? TokenKind::End : TokenKind::Close)) return entries;
    if (key.kind != TokenKind::Text) return std::nullopt;
    KeyValue entry;
    entry.key = std::move(key.text);
    Token value = Next(text, at);
    if (value.kind == TokenKind::Text) {
      entry.text = std::move(value.text);
    } else {
      if (value.kind != TokenKind::Open || depth >= kDeepestKeyValuesBlock) return std::nullopt;
      std::optional<std::vector<KeyValue>> inner = Entries(text, at, depth + 1);
      if (!inner) return std::nullopt;
      entry.entries = std::move(*inner);
      entry.isBlock = true;
    }
    entries.push_back(std::move(entry));
  }
}

}  // namespace

const KeyValue* KeyValue::Find(std::string_view name) const {
  // Steam writes UTF-8, in which no byte of a longer character is an ASCII letter.
  for (const KeyValue& entry : entries) {
    if (EqualsIgnoringAsciiCase(kUtf8CodePage, entry.key, name)) return &entry;
  }
  return nullptr;
}

std::optional<KeyValue> ReadKeyValues(std::string_view text) {
  if (text.size() > kLargestKeyValuesFile) return std::nullopt;
  if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
  size_t at = 0;
  std::optional<std::vector<KeyValue>> entries = Entries(text, at, 0);
  if (!entries) return std::nullopt;
  return KeyValue{"", "", std::move(*entries), true};
}
