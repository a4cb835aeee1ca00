#include "search/folded_index.h"

#include "base/control_models.h"

namespace search {

FoldedIndex::FoldedIndex(ListControl& list) : m_list(list) {
  QObject::connect(&list, &ListControl::itemInserted, &list, [this](int index) {
    if (index < m_indexed) reset();
  });
  // Removals are rare (deleting a station).
  QObject::connect(&list, &ListControl::itemRemoved, &list, [this] { reset(); });
  QObject::connect(&list, &ListControl::itemsCleared, &list, [this] { reset(); });
}

bool FoldedIndex::contains(const QString& text) const {
  for (; m_indexed < m_list.count(); ++m_indexed) m_folded.insert(m_list.item(m_indexed).toLower());
  return m_folded.contains(text.toLower());
}

void FoldedIndex::reset() const {
  m_folded.clear();
  m_indexed = 0;
}

}  // namespace search
