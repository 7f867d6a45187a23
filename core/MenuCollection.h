#pragma once
// The slot table: the ten attract-mode slots in slot order, each stored under its slot number
// written in decimal ("0" to "9"). Records are created once and never added, removed or reordered
// afterwards; only their flags and names change.
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/clsGameMenu.h"

constexpr int kMenuSlotCount = 10;

class MenuCollection {
 public:
  void Add(const clsGameMenu& menu, const std::string& key) { m_items.emplace_back(key, menu); }

  // The record stored under this key, or nullptr when the key names none.
  const clsGameMenu* Find(std::string_view key) const;

  // The record of a slot number; nullptr outside 0 to 9.
  clsGameMenu* Slot(int slot);
  const clsGameMenu* Slot(int slot) const;

  // Records in table order (slot order 0 to 9).
  auto begin() const { return m_items.begin(); }
  auto end() const { return m_items.end(); }

  bool operator==(const MenuCollection&) const = default;

 private:
  std::vector<std::pair<std::string, clsGameMenu>> m_items;
};

// A table of the ten slots 0 to 9, created in slot order, all disabled and empty.
MenuCollection NewMenuTable();
