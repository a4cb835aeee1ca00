#include "playlists/guide_tags.h"

#include <QUrl>

#include "playlists/network_address.h"
#include "playlists/playlist_builder.h"

namespace playlists {

namespace {

constexpr qsizetype kMaxTagAddress = 2048;

struct TagField {
  QLatin1StringView name;
  QString GuideTags::*member;
};
const TagField kFields[] = {
    {QLatin1StringView("tvg-id"), &GuideTags::tvgId},
    {QLatin1StringView("tvg-name"), &GuideTags::tvgName},
    {QLatin1StringView("tvg-logo"), &GuideTags::tvgLogo},
    {QLatin1StringView("x-tvg-url"), &GuideTags::guideUrl},
};

QString tidyTagAddress(const QString& address) {
  const QString trimmed = address.trimmed();
  if (trimmed.size() > kMaxTagAddress || !hasNetworkScheme(trimmed)) return {};
  for (QChar c : trimmed)
    if (c.unicode() < 0x20 || c.unicode() == 0x7f) return {};
  return trimmed;
}

}  // namespace

QString guideTagsField(const GuideTags& tags) {
  QStringList parts;
  for (const TagField& f : kFields) {
    const QString& value = tags.*f.member;
    if (!value.isEmpty())
      parts << f.name + u'=' + QString::fromLatin1(QUrl::toPercentEncoding(value));
  }
  return parts.join(u'&');
}

GuideTags parseGuideTagsField(QStringView field) {
  GuideTags tags;
  for (QStringView part : field.split(u'&', Qt::SkipEmptyParts)) {
    const qsizetype eq = part.indexOf(u'=');
    if (eq <= 0) continue;
    for (const TagField& f : kFields)
      if (part.left(eq) == f.name)
        tags.*f.member = QUrl::fromPercentEncoding(part.mid(eq + 1).toLatin1());
  }
  return tidyTags(tags);
}

GuideTags tidyTags(const GuideTags& tags) {
  return {tidyName(tags.tvgId), tidyName(tags.tvgName), tidyTagAddress(tags.tvgLogo),
          tidyTagAddress(tags.guideUrl)};
}

}  // namespace playlists
