#include "search/folded_index.h"

#include "base/control_models.h"

namespace search {

FoldedIndex::FoldedIndex(ListControl& list) : m_list(list) {
  QObject::connect(&list, &ListControl::itemInserted, &list, [this](int index) {
    if (m_valid) ++m_counts[m_list.item(index).toLower()];
  });
  // Removals are rare (deleting a station); the index is rebuilt when next asked.
  QObject::connect(&list, &ListControl::itemRemoved, &list, [this] { m_valid = false; });
  QObject::connect(&list, &ListControl::itemsCleared, &list, [this] {
    m_counts.clear();
    m_valid = true;
  });
}

bool FoldedIndex::contains(const QString& text) const {
  if (!m_valid) rebuild();
  return m_counts.contains(text.toLower());
}

void FoldedIndex::rebuild() const {
  m_counts.clear();
  for (const QString& item : m_list.items()) ++m_counts[item.toLower()];
  m_valid = true;
}

}  // namespace search
