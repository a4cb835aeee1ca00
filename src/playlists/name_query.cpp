#include "playlists/name_query.h"

#include <algorithm>

#include "playlists/channel_key.h"

namespace playlists {

namespace {

QueryMatch matchIn(const QString& foldedQuery, const QString& text) {
  if (text.startsWith(foldedQuery)) return QueryMatch::Start;
  return text.contains(foldedQuery) ? QueryMatch::Inside : QueryMatch::None;
}

}  // namespace

QString foldQuery(const QString& query) {
  QString folded = foldChannelName(query);
  folded.removeIf([](QChar c) { return !c.isLetterOrNumber() && c != u'+'; });
  return folded;
}

QueryMatch matchQuery(const QString& foldedQuery, const QString& key, const Pinyin& pinyin) {
  return std::max({matchIn(foldedQuery, key), matchIn(foldedQuery, pinyin.full),
                   matchIn(foldedQuery, pinyin.initials)});
}

}  // namespace playlists
