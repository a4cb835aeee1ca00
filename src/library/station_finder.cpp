#include "library/station_finder.h"

#include <QElapsedTimer>

#include "base/control_models.h"

namespace {

// One idle slice: short enough not to be felt between two events.
constexpr qint64 kIdleSliceMs = 8;

}  // namespace

StationFinder::StationFinder(const ListControl& list, const playlists::ChannelNames& names,
                             QObject* parent)
    : StationFinder(list, parent) {
  m_channels = names;
}

StationFinder::StationFinder(const ListControl& list, QObject* parent)
    : QObject(parent), m_list(list) {
  m_idle.setInterval(0);
  connect(&m_idle, &QTimer::timeout, this, [this] {
    if (makeAppended(kIdleSliceMs)) m_idle.stop();
  });
  connect(&list, &ListControl::itemInserted, this, [this](int index) {
    if (index < m_names.size()) {
      m_names.insert(index, searchable(index));
    } else if (!m_idle.isActive()) {
      m_idle.start();
    }
  });
  connect(&list, &ListControl::itemRemoved, this, [this](int index) {
    if (index < m_names.size()) m_names.removeAt(index);
  });
  connect(&list, &ListControl::itemsCleared, this, [this] { m_names.clear(); });
}

playlists::SearchableName StationFinder::searchable(int index) const {
  const QString text = m_list.item(index);
  return m_channels ? playlists::SearchableName::ofName(text, m_channels->key(text))
                    : playlists::SearchableName::ofText(text);
}

bool StationFinder::makeAppended(qint64 budgetMs) {
  QElapsedTimer slice;
  slice.start();
  m_names.reserve(m_list.count());
  while (m_names.size() < m_list.count()) {
    if (budgetMs >= 0 && slice.elapsed() >= budgetMs) return false;
    m_names << searchable(static_cast<int>(m_names.size()));
  }
  return true;
}

QList<int> StationFinder::find(const QString& text, int limit) {
  const playlists::NameQuery query(text);
  if (query.isEmpty() || limit <= 0) return {};
  makeAppended(-1);
  QList<int> starting;
  QList<int> containing;
  for (int i = 0; i < m_names.size() && starting.size() < limit; ++i) {
    const playlists::QueryMatch match = query.match(m_names.at(i));
    if (match == playlists::QueryMatch::Start) {
      starting << i;
    } else if (match == playlists::QueryMatch::Inside && containing.size() < limit) {
      containing << i;
    }
  }
  starting << containing.mid(0, limit - starting.size());
  return starting;
}
