// Once the DLL search is restricted, a DLL of a name the program asks for by name is loaded from
// System32 only: a file of that name beside the program or in the current folder is not loaded.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/DllSearch.h"
#include "tests/support/TempGameFolder.h"

using namespace test_support;

namespace {

// Whether LoadLibraryA finds a DLL by this name; what it loaded is unloaded again.
bool LoadsByName(const std::string& name) {
  HMODULE module = LoadLibraryA(name.c_str());
  if (!module) return false;
  FreeLibrary(module);
  return true;
}

TEST(DllSearch, PlantedDllsAreNoLongerFoundButSystemDllsAre) {
  // The build puts the planted DLL beside this test, where a download's neighbours lie.
  const std::string besideProgram = PLANTED_DLL;
  // And a copy under another name in the current folder.
  char exe[MAX_PATH] = {};
  ASSERT_NE(GetModuleFileNameA(nullptr, exe, MAX_PATH), 0u);
  std::string planted = exe;
  planted = planted.substr(0, planted.find_last_of('\\') + 1) + besideProgram;
  TempFolder current;
  ASSERT_TRUE(CopyFileA(planted.c_str(), (current.Path() + "\\planted_here.dll").c_str(), FALSE));
  char previous[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryA(current.Path().c_str()));

  // Without the restriction both are loaded: the test itself would catch nothing otherwise.
  EXPECT_TRUE(LoadsByName(besideProgram));
  EXPECT_TRUE(LoadsByName("planted_here.dll"));

  RestrictDllSearch();
  EXPECT_FALSE(LoadsByName(besideProgram));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  EXPECT_FALSE(LoadsByName("planted_here.dll"));
  // System DLLs still load by name, and a DLL named by its full path still loads.
  EXPECT_TRUE(LoadsByName("version.dll"));
  EXPECT_TRUE(LoadsByName(planted));

  SetCurrentDirectoryA(previous);
}

}  // namespace
