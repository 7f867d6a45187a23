#include "core/MenuCollection.h"

const clsGameMenu* MenuCollection::Find(std::string_view key) const {
  for (const auto& [itemKey, menu] : m_items) {
    if (itemKey == key) return &menu;
  }
  return nullptr;
}

const clsGameMenu* MenuCollection::Slot(int slot) const {
  if (slot < 0 || slot >= kMenuSlotCount) return nullptr;
  return Find(std::to_string(slot));
}

clsGameMenu* MenuCollection::Slot(int slot) {
  return const_cast<clsGameMenu*>(std::as_const(*this).Slot(slot));
}

MenuCollection NewMenuTable() {
  MenuCollection menus;
  for (int n = 0; n < kMenuSlotCount; ++n) {
    clsGameMenu menu;  // disabled and empty
    menu.nId(n);
    menus.Add(menu, std::to_string(n));
  }
  return menus;
}
