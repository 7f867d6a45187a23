// Paths and names taken apart as characters of their code page: a trail byte that is the byte of
// "\" or of an ASCII letter belongs to its character.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "platform/AnsiText.h"
#include "platform/FileReplacement.h"
#include "platform/FolderListing.h"
#include "platform/PathText.h"
#include "platform/VirtualStore.h"
#include "tests/support/TempGameFolder.h"

namespace {

// The lead bytes as Windows itself knows them, for every ANSI code page with two-byte characters
// and two without.
TEST(PathText, LeadBytesAreThoseWindowsKnows) {
  for (unsigned codePage : {932u, 936u, 949u, 950u, 1252u, 65001u}) {
    for (int byte = 0; byte < 256; ++byte) {
      const bool windows =
          codePage != CP_UTF8 && IsDBCSLeadByteEx(codePage, static_cast<BYTE>(byte));
      EXPECT_EQ(IsLeadByte(codePage, static_cast<char>(byte)), windows) << codePage << " " << byte;
    }
  }
}

TEST(PathText, SeparatorsAndCaseAreFoundAsCharacters) {
  const std::string hyou = "\x95\x5C";                   // 表 in 932
  const std::string a = "\x83\x41", small = "\x83\x61";  // ア and ャ: trail bytes "A" and "a"
  struct Case {
    unsigned codePage;
    std::string path;
    bool endsWithSeparator;
    size_t lastSeparator;
    std::string trimmed;  // WithoutTrailingSeparators with keep = 3
  };
  const Case cases[] = {
      {932, "C:\\" + hyou, false, 2, "C:\\" + hyou},
      {932, "C:\\" + hyou + "\\/", true, 6, "C:\\" + hyou},
      {932, "C:\\\\", true, 3, "C:\\"},
      {932, std::string("C:\\\x95"), false, 2, std::string("C:\\\x95")},  // a lead byte at the end
      {1252, "C:\\" + hyou, true, 4, "C:\\\x95"},  // in 1252 those are two characters
      {65001, "C:\\d\xC3\xA9j\xC3\xA0\\", true, 9, "C:\\d\xC3\xA9j\xC3\xA0"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WithoutTrailingSeparators(c.codePage, c.path).size() < c.path.size(),
              c.endsWithSeparator)
        << c.path;
    EXPECT_EQ(FindLastSeparator(c.codePage, c.path), c.lastSeparator) << c.path;
    EXPECT_EQ(WithoutTrailingSeparators(c.codePage, c.path, 3), c.trimmed) << c.path;
  }
  EXPECT_TRUE(EqualsIgnoringAsciiCase(932, "Program Files\\" + a, "PROGRAM FILES\\" + a));
  EXPECT_FALSE(EqualsIgnoringAsciiCase(932, a, small));
  EXPECT_TRUE(EqualsIgnoringAsciiCase(1252, a, small));  // in 1252: "ƒA" and "ƒa"
  EXPECT_TRUE(
      StartsWithIgnoringAsciiCase(932, "c:\\program files\\" + hyou, "C:\\Program Files\\"));
  EXPECT_FALSE(StartsWithIgnoringAsciiCase(932, hyou + "x", "\x95"));  // half a character
}

// A user whose name the code page cannot hold has a local application data folder that the ANSI
// file functions cannot name; the per-user copy there is named from %LOCALAPPDATA% and made,
// written, read and listed through the wide functions.
TEST(PathText, PerUserCopyInAProfileTheCodePageCannotHold) {
  test_support::TempFolder temp;
  const std::wstring profile = WideFromAnsi(temp.Path()) + L"\\\u0141ukasz \u03A9 \u0416 \u0915";
  ASSERT_TRUE(CreateDirectoryW(profile.c_str(), nullptr));
  ASSERT_FALSE(AnsiFromWide(profile)) << AnsiCodePage();
  wchar_t previous[MAX_PATH] = {};
  GetEnvironmentVariableW(L"LOCALAPPDATA", previous, MAX_PATH);
  SetEnvironmentVariableW(L"LOCALAPPDATA", profile.c_str());

  const std::string folder = std::string(kLocalAppDataVariable) + "\\VirtualStore\\Game\\startup";
  const std::string file = folder + "\\user.cfg";
  unsigned long error = 0;
  EXPECT_TRUE(CreateFolders(folder, &error)) << error;
  EXPECT_TRUE(FileReplacement(file).Commit("attractMode-scenario-0 ~UI_Norse\r\n").ok);
  EXPECT_EQ(GetPathKind(WidePath(file)), PathKind::File);
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(WidePath(file), bytes).ok);
  EXPECT_EQ(bytes, "attractMode-scenario-0 ~UI_Norse\r\n");
  // A failure there names the file as the tool's paths do, by the variable.
  EXPECT_EQ(ReadWholeFile(WidePath(folder + "\\gone.cfg"), bytes).file, folder + "\\gone.cfg");
  std::vector<std::string> names;
  EXPECT_TRUE(ListFolderFiles({folder}, ".cfg", names).ok);
  EXPECT_EQ(names, std::vector<std::string>{"user.cfg"});
  const std::wstring written = profile + L"\\VirtualStore\\Game\\startup\\user.cfg";
  EXPECT_NE(GetFileAttributesW(written.c_str()), INVALID_FILE_ATTRIBUTES);

  SetEnvironmentVariableW(L"LOCALAPPDATA", previous);
}

// Which paths get a per-user copy, and where: a path on a drive inside a protected folder, in any
// letter case, the folder itself too; not a folder whose name merely starts alike, nor a path not
// on a drive; none without a profile, nor for a profile inside a protected folder. An 8.3 name
// is compared by its long name.
TEST(VirtualStore, CopyOnlyForPathsOnADriveInsideAProtectedFolder) {
  const std::vector<std::string> folders = {"C:\\Program Files", "C:\\Program Files (x86)\\",
                                            "C:\\Windows"};
  const std::string local = "C:\\Users\\Pat\\AppData\\Local", store = local + "\\VirtualStore";
  struct Case {
    std::string path, localAppData, copy;
  };
  const Case cases[] = {
      {"C:\\Program Files (x86)\\Game\\startup\\user.cfg", local,
       store + "\\Program Files (x86)\\Game\\startup\\user.cfg"},
      {"c:\\PROGRAM FILES\\Game", local, store + "\\PROGRAM FILES\\Game"},
      {"C:\\Program Files", local, store + "\\Program Files"},
      {"C:\\Program Files\\Game", local + "\\", store + "\\Program Files\\Game"},
      {"C:\\Program Files\\Game", "%LOCALAPPDATA%",
       "%LOCALAPPDATA%\\VirtualStore\\Program Files\\Game"},
      {"C:\\Program Files2\\Game", local, ""},
      {"C:\\Games\\AoM", local, ""},
      {"D:\\Program Files\\Game", local, ""},
      {"\\\\server\\share\\Program Files\\Game", local, ""},
      {"Program Files\\Game", local, ""},
      {"C:Program Files\\Game", local, ""},
      {"C:", local, ""},
      {"C:\\Program Files\\Game", "", ""},
      {"C:\\Program Files\\Game", "C:\\Windows\\ServiceProfiles\\LocalService\\AppData\\Local", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VirtualStorePathFor(c.path, c.localAppData, folders), c.copy)
        << c.path << " with " << c.localAppData;
  }

  char programFiles[MAX_PATH] = "", shortName[MAX_PATH] = "";
  ASSERT_GT(GetEnvironmentVariableA("ProgramFiles", programFiles, MAX_PATH), 0u);
  ASSERT_GT(GetShortPathNameA(programFiles, shortName, MAX_PATH), 0u);
  ASSERT_STRNE(shortName, programFiles) << "no 8.3 name to compare";
  const std::string copy = VirtualStorePath(std::string(programFiles) + "\\Game\\user.cfg");
  EXPECT_NE(copy, "");
  EXPECT_EQ(VirtualStorePath(std::string(shortName) + "\\Game\\user.cfg"), copy) << shortName;
}

}  // namespace
