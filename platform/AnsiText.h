#pragma once
// The system's ANSI code page, the one the game and its files use, and the crossing between it
// and the UTF-16 of Windows' own text (the command line, the registry, the shell's folders).
#include <optional>
#include <string>
#include <string_view>

// The ANSI code page of this process (932 on a Japanese system, 1252 on a Western one).
unsigned AnsiCodePage();

// The text in the ANSI code page exactly; nothing when the code page cannot hold every character
// of it. Never a best-fit look-alike ("Ωmega" as "Omega") or "?": either would name another
// folder or file than the one meant.
std::optional<std::string> AnsiFromWide(std::wstring_view wide);

// ANSI text as UTF-16, for the wide functions and for showing it.
std::wstring WideFromAnsi(std::string_view ansi);
// The DOS (OEM) code page of this process (437 on a Western system, 932 on a Japanese one), in
// which zip archives name their files unless they say UTF-8.
unsigned OemCodePage();
inline constexpr unsigned kUtf8CodePage = 65001;
// Text of another code page as UTF-16.
std::wstring WideFromCodePage(unsigned codePage, std::string_view text);

// How the tool's paths name the user's local application data folder when the code page cannot
// hold that folder's own name (a user name in another script): by the variable in which Windows
// keeps it.
inline constexpr std::string_view kLocalAppDataVariable = "%LOCALAPPDATA%";

// A path in the ANSI code page as the wide file functions take it; every file function of
// platform/ opens its path through here. A leading %LOCALAPPDATA% is replaced by the folder in
// UTF-16, so that a per-user copy there is reached without short (8.3) names.
std::wstring WidePath(std::string_view path);
// The other way: a path in UTF-16 in the ANSI code page, its local application data folder named
// by the variable when the code page cannot hold that folder; nothing when it cannot hold the rest.
std::optional<std::string> AnsiPath(std::wstring_view path);
