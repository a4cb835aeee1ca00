#include "library/subscription_list.h"

#include <optional>

#include "base/text_lines.h"
#include "playlists/network_address.h"
#include "playlists/station_address.h"

namespace library {

namespace {

enum class Section { Sources, Blacklist, Whitelist };

std::optional<Section> sectionOf(const QString& line) {
  if (line.compare(u"[sources]", Qt::CaseInsensitive) == 0) return Section::Sources;
  if (line.compare(u"[blacklist]", Qt::CaseInsensitive) == 0) return Section::Blacklist;
  if (line.compare(u"[whitelist]", Qt::CaseInsensitive) == 0) return Section::Whitelist;
  return std::nullopt;
}

// "名称,address" or "address": a name is what stands before a comma that an
// address with a scheme follows.
Subscription sourceOf(const QString& line) {
  const int comma = line.indexOf(u',');
  if (comma > 0 && line.indexOf(u"://") > comma)
    return {line.left(comma).trimmed(), line.mid(comma + 1).trimmed(), false};
  return {line, line, false};
}

}  // namespace

bool SubscriptionList::isBlacklisted(const QString& name, const QString& address) const {
  for (const QString& word : blacklist)
    if (name.contains(word, Qt::CaseInsensitive) || address.contains(word, Qt::CaseInsensitive))
      return true;
  return false;
}

SubscriptionList parseSubscriptions(const QString& text) {
  SubscriptionList list;
  QStringList trusted;
  Section section = Section::Sources;
  textfile::forEachLine(text, [&](int number, QStringView raw) {
    const QString line = raw.trimmed().toString();
    if (line.isEmpty() || line.startsWith(u'#')) return;
    if (const auto next = sectionOf(line)) {
      section = *next;
      return;
    }
    if (section == Section::Blacklist) {
      list.blacklist.append(line);
    } else if (section == Section::Whitelist) {
      trusted.append(line);
    } else if (Subscription s = sourceOf(line);
               playlists::hasNetworkScheme(playlists::bareAddress(s.address))) {
      list.sources.append(s);
    } else {
      list.problems.append(QStringLiteral("第 %1 行不是网络地址 / line %1 is no network address: %2")
                               .arg(number)
                               .arg(line.left(200)));
    }
  });
  for (Subscription& s : list.sources)
    s.trusted = trusted.contains(s.name) || trusted.contains(s.address);
  return list;
}

}  // namespace library
