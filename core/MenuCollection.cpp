#include "core/MenuCollection.h"

namespace {

// The key under which a slot's record is stored: "0" to "9".
std::string MenuKey(int slot) { return std::to_string(slot); }

}  // namespace

clsGameMenu* MenuCollection::Find(std::string_view key) {
  for (auto& [itemKey, menu] : m_items) {
    if (itemKey == key) return &menu;
  }
  return nullptr;
}

const clsGameMenu* MenuCollection::Find(std::string_view key) const {
  return const_cast<MenuCollection*>(this)->Find(key);
}

clsGameMenu* MenuCollection::Slot(int slot) {
  if (slot < 0 || slot >= kMenuSlotCount) return nullptr;
  return Find(MenuKey(slot));
}

const clsGameMenu* MenuCollection::Slot(int slot) const {
  return const_cast<MenuCollection*>(this)->Slot(slot);
}

MenuCollection NewMenuTable() {
  MenuCollection menus;
  for (int n = 0; n < kMenuSlotCount; ++n) {
    clsGameMenu menu;  // disabled and empty
    menu.nId(n);
    menus.Add(menu, MenuKey(n));
  }
  return menus;
}
