#include "core/MenuHistory.h"

#include <algorithm>

namespace {

bool HasEnabledSlot(const MenuCollection& menus) {
  return std::any_of(menus.begin(), menus.end(),
                     [](const auto& item) { return item.second.bEnabled(); });
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

const MenuCollection& MenuHistory::Undo() {
  if (CanUndo()) --m_shown;
  return m_tables[m_shown];
}

const MenuCollection& MenuHistory::Redo() {
  if (CanRedo()) ++m_shown;
  return m_tables[m_shown];
}
