#pragma once
// One attract-mode slot: the place number the game shows it in, the scenario it plays and whether
// the game shows it at all.
#include <string>

class clsGameMenu {
 public:
  void bEnabled(bool value) { m_bEnabled = value; }
  bool bEnabled() const { return m_bEnabled; }

  void sName(const std::string& value) { m_sName = value; }
  std::string sName() const { return m_sName; }

  void nId(int value) { m_nId = value; }
  int nId() const { return m_nId; }

  bool operator==(const clsGameMenu&) const = default;

 private:
  bool m_bEnabled = false;
  std::string m_sName;
  int m_nId = 0;
};
