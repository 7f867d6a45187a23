#include "platform/AnsiText.h"

#include <windows.h>

#include <algorithm>

unsigned AnsiCodePage() { return GetACP(); }

std::optional<std::string> AnsiFromWide(std::wstring_view wide) {
  if (wide.empty()) return std::string();
  // UTF-8 as the code page holds every character but unpaired surrogates, which it refuses; the
  // other code pages report what they had to replace.
  const bool utf8 = GetACP() == CP_UTF8;
  const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  // Room for the longest: three bytes a UTF-16 unit in UTF-8, two in the double-byte code pages.
  std::string ansi(wide.size() * 3, '\0');
  const int size =
      WideCharToMultiByte(CP_ACP, flags, wide.data(), static_cast<int>(wide.size()), ansi.data(),
                          static_cast<int>(ansi.size()), nullptr, utf8 ? nullptr : &usedDefault);
  if (size <= 0 || usedDefault) return std::nullopt;
  ansi.resize(static_cast<size_t>(size));
  return ansi;
}

std::wstring WidePath(std::string_view path) {
  if (path.starts_with(kLocalAppDataVariable)) {
    const std::string_view rest = path.substr(kLocalAppDataVariable.size());
    wchar_t folder[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", folder, MAX_PATH);
    if (length > 0 && length < MAX_PATH && (rest.empty() || rest[0] == '\\'))
      return std::wstring(folder, length) + WideFromAnsi(rest);
  }
  return WideFromAnsi(path);
}

std::optional<std::string> AnsiPath(std::wstring_view path) {
  if (std::optional<std::string> ansi = AnsiFromWide(path)) return ansi;
  const std::wstring folder = WidePath(kLocalAppDataVariable);
  const std::wstring_view rest = path.substr(std::min(folder.size(), path.size()));
  std::optional<std::string> ansiRest = AnsiFromWide(rest);
  if (!path.starts_with(folder) || (!rest.empty() && rest[0] != L'\\') || !ansiRest)
    return std::nullopt;
  return std::string(kLocalAppDataVariable) + *ansiRest;
}

std::wstring WideFromAnsi(std::string_view ansi) { return WideFromCodePage(CP_ACP, ansi); }

unsigned OemCodePage() { return GetOEMCP(); }

std::wstring WideFromCodePage(unsigned codePage, std::string_view text) {
  std::wstring wide(text.size(), L'\0');  // never more UTF-16 units than bytes
  const int size = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()),
                                       wide.data(), static_cast<int>(wide.size()));
  wide.resize(static_cast<size_t>(size > 0 ? size : 0));
  return wide;
}
