#pragma once
// Folders of a test's own in the temporary folder, removed with everything in them.
#include <string>

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
  std::string UserCfg() const { return m_path + "startup\\user.cfg"; }

 private:
  TempFolder m_folder;
  std::string m_path;
};

// Small helpers over whole files for the tests' own checks.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
bool PathExists(const std::string& path);
void RemoveTree(const std::string& path);
