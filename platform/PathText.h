#pragma once
// Paths and names as characters of an ANSI code page, not as bytes. In the double-byte code pages
// (932 Japanese, 936 Simplified Chinese, 949 Korean, 950 Traditional Chinese) a character may take
// two bytes, a lead byte and a trail byte, and the trail byte may be 0x5C, the byte of "\" (as in
// 表, 95 5C in 932), or an ASCII letter. Splitting, trimming or comparing such text a byte at a
// time cuts characters in half. Every such operation on a path goes through here. Pure: builds
// natively too; the caller names the code page (AnsiCodePage() on Windows).
#include <string>
#include <string_view>
#include <type_traits>

// True for a byte that starts a two-byte character in this code page. The single-byte code
// pages and UTF-8 (whose bytes of a longer character are all 0x80 and above) have none.
inline bool IsLeadByte(unsigned codePage, char c) {
  const auto value = static_cast<unsigned char>(c);
  switch (codePage) {
    case 932:
      return (value >= 0x81 && value <= 0x9F) || (value >= 0xE0 && value <= 0xFC);
    case 936:
    case 949:
    case 950:
      return value >= 0x81 && value <= 0xFE;
    default:
      return false;
  }
}

// The bytes of the character that starts at `at`: two for a lead byte with a byte after it, else
// one (a lead byte at the very end stands alone).
inline size_t CharacterLength(unsigned codePage, std::string_view text, size_t at) {
  return IsLeadByte(codePage, text[at]) && at + 1 < text.size() ? 2 : 1;
}

inline bool IsPathSeparator(char c) { return c == '\\' || c == '/'; }

// Where the last "\" or "/" character stands; npos when there is none.
inline size_t FindLastSeparator(unsigned codePage, std::string_view path) {
  size_t found = std::string_view::npos;
  for (size_t at = 0; at < path.size();) {
    const size_t length = CharacterLength(codePage, path, at);
    if (length == 1 && IsPathSeparator(path[at])) found = at;
    at += length;
  }
  return found;
}

// The path without the "\" and "/" characters at its end, keeping at least its first `keep` bytes
// ("C:\" stays whole with keep = 3).
inline std::string WithoutTrailingSeparators(unsigned codePage, std::string_view path,
                                             size_t keep = 0) {
  size_t end = 0;
  for (size_t at = 0; at < path.size();) {
    const size_t length = CharacterLength(codePage, path, at);
    if (at < keep || length == 2 || !IsPathSeparator(path[at])) end = at + length;
    at += length;
  }
  return std::string(path.substr(0, end));
}

// Text compared without regard to the case of ASCII letters, whatever the code page: names the
// game and Windows spell in ASCII ("Program Files", the built-in scenarios) are recognised in any
// case. Only single-byte characters are folded; two-byte characters must be equal byte for byte,
// so that a trail byte that happens to be an ASCII letter is never folded.
inline bool StartsWithIgnoringAsciiCase(unsigned codePage, std::string_view text,
                                        std::string_view prefix) {
  if (text.size() < prefix.size()) return false;
  const auto lower = [](char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  };
  size_t at = 0;
  while (at < prefix.size()) {
    const size_t length = CharacterLength(codePage, text, at);
    if (length != CharacterLength(codePage, prefix, at)) return false;
    const bool same = length == 2 ? text.substr(at, 2) == prefix.substr(at, 2)
                                  : lower(text[at]) == lower(prefix[at]);
    if (!same) return false;
    at += length;
  }
  return true;
}

inline bool EqualsIgnoringAsciiCase(unsigned codePage, std::string_view a, std::string_view b) {
  return a.size() == b.size() && StartsWithIgnoringAsciiCase(codePage, a, b);
}

// A name that Windows takes for a device rather than a file, whatever follows its first dot and
// in any letter case: "CON", "nul.scn", "COM1.txt", "LPT3 .zip". Written to, such a name would
// send the bytes to the console, a printer or a serial port.
inline bool IsDeviceName(std::wstring_view fileName) {
  std::wstring base(fileName.substr(0, fileName.find(L'.')));
  while (!base.empty() && base.back() == L' ') base.pop_back();
  for (wchar_t& c : base) c = c >= L'a' && c <= L'z' ? c - L'a' + L'A' : c;
  if (base == L"CON" || base == L"PRN" || base == L"AUX" || base == L"NUL" || base == L"CONIN$" ||
      base == L"CONOUT$")
    return true;
  return base.size() == 4 && (base.starts_with(L"COM") || base.starts_with(L"LPT")) &&
         base[3] >= L'1' && base[3] <= L'9';
}

// The last part of a name that may carry folders ("maps/Oasis.scn", "maps\Oasis.scn"), a drive
// ("C:\Oasis.scn", "C:Oasis.scn") or climb out ("../../Oasis.scn"): what follows the last "/",
// "\" or ":". Nothing of it can point outside the folder it is written into. (UTF-16, where no
// character's second unit is a "\".)
inline std::wstring LastNamePart(std::wstring_view name) {
  const size_t cut = name.find_last_of(L"/\\:");
  return std::wstring(cut == std::wstring_view::npos ? name : name.substr(cut + 1));
}

// A control character (CR, LF, NUL, DEL...) in a name, as ANSI bytes or UTF-16: written into
// user.cfg it would break the line. (No byte of a two-byte character is below 0x40.)
template <typename Text>
bool HoldsControlCharacter(const Text& name) {
  for (const auto c : name) {
    const auto code = static_cast<std::make_unsigned_t<std::remove_const_t<decltype(c)>>>(c);
    if (code < 32 || code == 127) return true;
  }
  return false;
}
