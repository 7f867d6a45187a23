#include "core/MenuHistory.h"

#include <algorithm>

namespace {

bool HasEnabledSlot(const MenuCollection& menus) {
  return std::any_of(menus.begin(), menus.end(),
                     [](const clsGameMenu& menu) { return menu.bEnabled(); });
}

}  // namespace

void MenuHistory::Reset(const MenuCollection& loaded) {
  m_tables = {loaded};
  m_shown = 0;
}

void MenuHistory::Record(const MenuCollection& changed) {
  if (changed == m_tables[m_shown]) return;
  m_tables.resize(m_shown + 1);  // what was undone can no longer be redone
  m_tables.push_back(changed);
  ++m_shown;
}

bool MenuHistory::CanUndo() const {
  return m_shown > 0 && (m_shown == 1 || HasEnabledSlot(m_tables[m_shown - 1]));
}

bool MenuHistory::CanRedo() const { return m_shown + 1 < m_tables.size(); }

const MenuCollection& MenuHistory::Step(bool back) {
  if (back ? CanUndo() : CanRedo()) m_shown = back ? m_shown - 1 : m_shown + 1;
  return m_tables[m_shown];
}
