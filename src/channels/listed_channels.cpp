#include "channels/listed_channels.h"

#include <QSet>

#include "form/form.h"
#include "history/line_key.h"
#include "playback/play_address.h"

namespace channels {

namespace {

bool mediaPlayerLine(const QString& name, const QString& address) {
  return !address.trimmed().isEmpty() && !name.contains(u"---") &&
         !playback::isRealMediaAddress(address) && !playback::isTempWrapperPage(address);
}

}  // namespace

playlists::StationList ListedChannels::linesOf(const Form& f, const QString& name) {
  index(f);
  playlists::StationList lines;
  QSet<QString> seen;
  for (int i : m_entries.value(m_names.key(name))) {
    const QString address = f.dz1.item(i);
    if (!mediaPlayerLine(f.tvm.item(i), address)) continue;
    if (seen.contains(history::lineKey(address))) continue;
    seen.insert(history::lineKey(address));
    lines.append({f.tvm.item(i), address, {}});
  }
  return lines;
}

void ListedChannels::index(const Form& f) {
  if (m_loads == f.stationListLoads && m_count == f.tvm.count()) return;
  m_loads = f.stationListLoads;
  m_count = f.tvm.count();
  m_entries.clear();
  for (int i = 0; i < m_count; ++i) m_entries[m_names.key(f.tvm.item(i))].append(i);
}

}  // namespace channels
