#pragma once
// The rules by which a downloaded scenario comes in: which dropped files and archive entries are
// scenarios, the name each gets, and the free name beside one of the same name. Pure: builds
// natively too. Names arrive as Windows keeps file names, in UTF-16; the name that goes into
// user.cfg is the ANSI code page's (the caller converts, exactly or not at all).
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// What one drop brings in at most, its files, archives and dropped contents together: far beyond
// any real scenario pack, and a bound on what a hostile archive can make the tool unpack into
// memory and write. A single scenario larger than the bytes is refused as too large.
inline constexpr uint64_t kDropBytes = 256ull << 20;
inline constexpr uint64_t kDropScenarios = 1000;
// The largest archive read (whole, into memory): room for the scenarios beside pictures and
// read-mes.
inline constexpr uint64_t kLargestArchive = 2 * kDropBytes;

// A scenario file: ".scn" in any letter case.
bool IsScenarioFileName(std::wstring_view fileName);
// A zip archive: ".zip" in any letter case.
bool IsZipFileName(std::wstring_view fileName);

// The scenario name of a file name: without its four-character extension, as the catalogue cuts
// it.
std::wstring ScenarioBaseName(std::wstring_view fileName);

// Why a scenario name cannot go into user.cfg.
enum class NameRefusal {
  None,
  Empty,             // ".scn" alone
  ControlCharacter,  // CR, LF, NUL... would break user.cfg into lines of its own
  NotInCodePage,     // the ANSI code page has no exact spelling of it
  DeviceName,        // "CON", "NUL", "COM1"...: Windows would take the file for a device
};
// heldByCodePage: the ANSI code page holds the name exactly.
NameRefusal CheckScenarioName(std::wstring_view name, bool heldByCodePage);

// The first of "Name (2)", "Name (3)", ... that `taken` does not know; "" when all up to
// "Name (9999)" are taken.
std::string FreeScenarioName(const std::string& name,
                             const std::function<bool(const std::string&)>& taken);
