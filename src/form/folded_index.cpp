#include "form/folded_index.h"

#include "base/control_models.h"
#include "playlists/station_address.h"

namespace search {

FoldedIndex::FoldedIndex(ListControl& list) : m_list(list) {
  QObject::connect(&list, &ListControl::itemInserted, &list, [this](int index) {
    if (index < m_indexed) reset();
  });
  // Removals are rare (deleting a station).
  QObject::connect(&list, &ListControl::itemRemoved, &list, [this] { reset(); });
  QObject::connect(&list, &ListControl::itemsCleared, &list, [this] { reset(); });
}

namespace {

QString key(const QString& address) { return playlists::bareAddress(address).toLower(); }

}  // namespace

bool FoldedIndex::contains(const QString& address) const {
  for (; m_indexed < m_list.count(); ++m_indexed) m_folded.insert(key(m_list.item(m_indexed)));
  return m_folded.contains(key(address));
}

void FoldedIndex::reset() const {
  m_folded.clear();
  m_indexed = 0;
}

}  // namespace search
