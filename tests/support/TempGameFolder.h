#pragma once
// A game folder of its own for one test, in the temporary folder, removed with everything in it.
#include <string>

class TempGameFolder {
 public:
  TempGameFolder();  // makes the folder and its startup subfolder
  ~TempGameFolder();
  TempGameFolder(const TempGameFolder&) = delete;
  TempGameFolder& operator=(const TempGameFolder&) = delete;

  const std::string& Path() const { return m_path; }  // ends with "\"
  std::string UserCfg() const { return m_path + "startup\\user.cfg"; }

 private:
  std::string m_path;
};

// Small helpers over whole files for the tests' own checks.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
bool PathExists(const std::string& path);
void RemoveTree(const std::string& path);
