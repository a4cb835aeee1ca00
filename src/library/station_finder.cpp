#include "library/station_finder.h"

#include "base/control_models.h"

namespace {

bool isAscii(const QString& text) {
  for (QChar c : text)
    if (c.unicode() >= 0x80) return false;
  return true;
}

}  // namespace

StationFinder::StationFinder(const ListControl& list, QObject* parent)
    : QObject(parent), m_list(list) {
  connect(&list, &ListControl::itemInserted, this, [this](int index) {
    if (index < m_keys.size()) m_keys.insert(index, folded(m_list.item(index)));
  });
  connect(&list, &ListControl::itemRemoved, this, [this](int index) {
    if (index < m_keys.size()) m_keys.removeAt(index);
  });
  connect(&list, &ListControl::itemsCleared, this, [this] { m_keys.clear(); });
}

QString StationFinder::folded(const QString& text) {
  // Compatibility forms make full-width letters and digits half-width.
  if (isAscii(text)) return text.toLower();
  return text.normalized(QString::NormalizationForm_KC).toCaseFolded();
}

void StationFinder::foldAppended() {
  m_keys.reserve(m_list.count());
  for (int i = static_cast<int>(m_keys.size()); i < m_list.count(); ++i)
    m_keys << folded(m_list.item(i));
}

QList<int> StationFinder::find(const QString& text, int limit) {
  const QString needle = folded(text);
  if (needle.isEmpty() || limit <= 0) return {};
  foldAppended();
  QList<int> starting;
  QList<int> containing;
  for (int i = 0; i < m_keys.size() && starting.size() < limit; ++i) {
    const qsizetype at = m_keys.at(i).indexOf(needle);
    if (at == 0) {
      starting << i;
    } else if (at > 0 && containing.size() < limit) {
      containing << i;
    }
  }
  starting << containing.mid(0, limit - starting.size());
  return starting;
}
