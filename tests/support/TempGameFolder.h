#pragma once
// Folders of a test's own in the temporary folder, removed with everything in them.
#include <functional>
#include <string>
#include <vector>

#include "tests/support/RegistrySupport.h"

#include "core/GameFolderLayout.h"

namespace test_support {

// A new empty folder.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& Path() const { return m_path; }  // without a final backslash

 private:
  std::string m_path;
};

// A game folder with its startup subfolder.
class TempGameFolder {
 public:
  TempGameFolder();

  const std::string& Path() const { return m_path; }  // ends with a backslash, as sGamePath does
  std::string UserCfg() const { return m_path + std::string(kUserCfgInGameFolder); }

 private:
  TempFolder m_folder;
  std::string m_path;
};

// A game folder where the game's setup puts it, under Program Files (x86), with its startup
// folder; and where Windows keeps the per-user copy of it for the game, under
// %LOCALAPPDATA%\VirtualStore. Both are removed at the end. While it exists the system stands in
// for Windows with UAC on, which keeps such copies: not taken for Wine, which keeps none, and the
// prefix's policy value EnableLUA set to 1.
class ProtectedGameFolder {
 public:
  ProtectedGameFolder();
  ~ProtectedGameFolder();
  ProtectedGameFolder(const ProtectedGameFolder&) = delete;
  ProtectedGameFolder& operator=(const ProtectedGameFolder&) = delete;

  const std::string& Path() const { return m_path; }      // ends with a backslash
  const std::string& CopyPath() const { return m_copy; }  // the per-user copy of Path()
  std::string UserCfg() const { return m_path + std::string(kUserCfgInGameFolder); }
  std::string CopyUserCfg() const { return m_copy + std::string(kUserCfgInGameFolder); }

  // Makes the folder refuse new files, as it does for a user without administrator rights
  // (Wine has no such permissions for a test running as root): creating a file in it then fails
  // with access denied. Until the folder is removed, or Refuse(false).
  void Refuse(bool refuse);

 private:
  MachineValueGuard m_enableLua{kSystemPolicyKey, kSystemPolicyKey, "EnableLUA", kNativeView};
  std::string m_path;
  std::string m_copy;
};

// Has every new file in this folder (or below it) refused with access denied; "" refuses none.
void RefuseNewFilesIn(const std::string& folder);

// Runs a Linux program of the machine that Wine runs on, as a player on Linux would beside the
// game (ln -s, chattr), with these arguments (LinuxPath turns a Windows path into the Linux path
// it names), and waits until `done` holds; false when it does not within a few seconds. (Wine
// tells nothing of how a Linux program ended: its effect is what counts.)
bool RunLinuxCommand(const std::string& program, const std::vector<std::string>& arguments,
                     const std::function<bool()>& done);
std::string LinuxPath(const std::string& windowsPath);
// Where a path leads, links followed; "" when it cannot be opened.
std::string FinalPath(const std::string& path);

// Small helpers over whole files for the tests' own checks.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
// WriteBytes, making the file's folders first; false when they cannot be made or it is not
// written.
[[nodiscard]] bool WriteBytesMakingFolders(const std::string& path, const std::string& bytes);
bool PathExists(const std::string& path);
// An empty file made through the wide functions, for names the code page may not hold.
void MakeEmptyFile(const std::wstring& path);
// The file opened for reading and shared with no one, as the game holds user.cfg while it runs;
// INVALID_HANDLE_VALUE when it cannot be.
HANDLE HoldWithoutSharing(const std::string& path);
void RemoveTree(const std::string& path);
void RemoveTree(const std::wstring& path);

}  // namespace test_support
