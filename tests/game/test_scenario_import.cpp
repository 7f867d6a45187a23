// The rules by which dropped files and archive entries become scenarios, and their names.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "game/ScenarioImport.h"
#include "platform/PathText.h"

namespace {

TEST(ScenarioImport, WhatIsTakenAndTheNameItGets) {
  struct Case {
    const wchar_t* name;  // a dropped file's name or an archive entry's
    bool scenario;
    bool zip;
    const wchar_t* base;  // the scenario name, for a scenario
  };
  const Case cases[] = {
      {L"Oasis.scn", true, false, L"Oasis"},
      {L"OASIS.SCN", true, false, L"OASIS"},
      {L"Pack.ZIP", false, true, L""},
      {L"readme.txt", false, false, L""},
      {L"scn", false, false, L""},
      {L"Oasis.scn.txt", false, false, L""},
      {L"a.b.scn", true, false, L"a.b"},
      {L".scn", true, false, L""},
      {L"Oasis Pack/maps/Dune.SCN", true, false, L"Dune"},
      {L"Oasis Pack/", false, false, L""},
      // Names that climb out of the folder give their last part alone.
      {L"../../Escape.scn", true, false, L"Escape"},
      {L"..\\Back.scn", true, false, L"Back"},
      {L"C:\\Windows\\Drive.scn", true, false, L"Drive"},
      {L"C:Relative.scn", true, false, L"Relative"},
      {L"/root/Rooted.scn", true, false, L"Rooted"},
      {L"\\\\server\\share\\Far.scn", true, false, L"Far"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::wstring(c.name).size() << " chars");
    EXPECT_EQ(IsScenarioFileName(c.name), c.scenario);
    EXPECT_EQ(IsZipFileName(c.name), c.zip);
    if (c.scenario) {
      const std::wstring last = LastNamePart(c.name);
      EXPECT_EQ(last.find_first_of(L"/\\:"), std::wstring::npos);
      EXPECT_EQ(ScenarioBaseName(last), c.base);
    }
  }
}

TEST(ScenarioImport, NamesThatUserCfgCannotHoldAreRefused) {
  struct Case {
    std::wstring name;
    bool held;
    NameRefusal refusal;
  };
  const Case cases[] = {
      {L"Oasis", true, NameRefusal::None},
      {L"Caf\u00E9 (2)", true, NameRefusal::None},
      {L"", true, NameRefusal::Empty},
      {L"Two\r\nLines", true, NameRefusal::ControlCharacter},
      {L"Tab\tMap", true, NameRefusal::ControlCharacter},
      {std::wstring(L"Nul\0x", 5), true, NameRefusal::ControlCharacter},
      {L"Del\x7F", true, NameRefusal::ControlCharacter},
      {L"\u03A9mega", false, NameRefusal::NotInCodePage},
      // Names Windows keeps for devices, in any case, with a dot or spaces after them.
      {L"CON", true, NameRefusal::DeviceName},
      {L"nul", true, NameRefusal::DeviceName},
      {L"Com1", true, NameRefusal::DeviceName},
      {L"LPT9 ", true, NameRefusal::DeviceName},
      {L"aux.old", true, NameRefusal::DeviceName},
      {L"COM0", true, NameRefusal::None},
      {L"CONSOLE", true, NameRefusal::None},
      {L"Con Tower", true, NameRefusal::None},
  };
  for (const Case& c : cases) EXPECT_EQ(CheckScenarioName(c.name, c.held), c.refusal);
}

TEST(ScenarioImport, TheFirstFreeNumberedName) {
  struct Case {
    std::set<std::string> taken;
    std::string free;
  };
  const Case cases[] = {
      {{"Oasis"}, "Oasis (2)"},
      {{"Oasis", "Oasis (2)"}, "Oasis (3)"},
      {{"Oasis", "Oasis (3)"}, "Oasis (2)"},
      {{"Oasis", "Oasis (2)", "Oasis (3)", "Oasis (4)"}, "Oasis (5)"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(
        FreeScenarioName("Oasis", [&](const std::string& name) { return c.taken.count(name) > 0; }),
        c.free);
  }
  EXPECT_EQ(FreeScenarioName("Full", [](const std::string&) { return true; }), "");
}

}  // namespace
