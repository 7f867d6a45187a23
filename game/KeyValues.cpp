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

class Reader {
 public:
  explicit Reader(std::string_view text) : m_text(text) {}

  // The entries up to the end of the file (top level) or to the brace that closes the block.
  std::optional<std::vector<KeyValue>> Entries(int depth) {
    std::vector<KeyValue> entries;
    for (;;) {
      Token key = Next();
      if (key.kind == TokenKind::Condition) continue;  // "[$WIN32]" after a value: all are taken
      // The end of the file closes the top level, a brace a block.
      if (key.kind == (depth == 0 ? TokenKind::End : TokenKind::Close)) return entries;
      if (key.kind != TokenKind::Text) return std::nullopt;
      KeyValue entry;
      entry.key = std::move(key.text);
      Token value = Next();
      if (value.kind == TokenKind::Text) {
        entry.text = std::move(value.text);
      } else {
        if (value.kind != TokenKind::Open || depth >= kDeepestKeyValuesBlock) return std::nullopt;
        std::optional<std::vector<KeyValue>> inner = Entries(depth + 1);
        if (!inner) return std::nullopt;
        entry.entries = std::move(*inner);
        entry.isBlock = true;
      }
      entries.push_back(std::move(entry));
    }
  }

 private:
  Token Next() {
    SkipBlanksAndComments();
    if (m_at >= m_text.size()) return {TokenKind::End, {}};
    const char c = m_text[m_at];
    if (c == '{' || c == '}') {
      ++m_at;
      return {c == '{' ? TokenKind::Open : TokenKind::Close, {}};
    }
    if (c == '"') return Quoted();
    // A word without quotes ends at a blank, a quote or a brace.
    const size_t start = m_at;
    m_at = std::min(m_text.find_first_of(" \t\r\n\f\"{}", m_at), m_text.size());
    return {c == '[' ? TokenKind::Condition : TokenKind::Text,
            std::string(m_text.substr(start, m_at - start))};
  }

  Token Quoted() {
    std::string text;
    while (++m_at < m_text.size() && m_text[m_at] != '"') {
      char c = m_text[m_at];
      if (c == '\\' && m_at + 1 < m_text.size()) {
        c = m_text[++m_at];
        if (c == 'n' || c == 't') {
          c = c == 'n' ? '\n' : '\t';
        } else if (c != '\\' && c != '"') {
          text += '\\';  // not an escape Steam knows: both characters stand
        }
      }
      text += c;
    }
    if (m_at >= m_text.size()) return {TokenKind::Bad, {}};  // the file ends inside the quotes
    ++m_at;
    return {TokenKind::Text, std::move(text)};
  }

  void SkipBlanksAndComments() {
    for (;;) {
      m_at = std::min(m_text.find_first_not_of(kBlanks, m_at), m_text.size());
      if (m_text.substr(m_at, 2) != "//") return;
      m_at = std::min(m_text.find('\n', m_at), m_text.size());
    }
  }

  std::string_view m_text;
  size_t m_at = 0;
};

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
  std::optional<std::vector<KeyValue>> entries = Reader(text).Entries(0);
  if (!entries) return std::nullopt;
  return KeyValue{"", "", std::move(*entries), true};
}
