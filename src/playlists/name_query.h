#pragma once

#include <QString>

#include "playlists/pinyin.h"

namespace playlists {

// How well what the user types finds a station name.
enum class QueryMatch { None, Inside, Start };

// A typed query as matchQuery takes it: folded like a name (full-width,
// traditional, case) with only letters, digits and "+" kept: "CCTV-5" →
// "cctv5".
QString foldQuery(const QString& query);

// Whether a folded query starts or is found in the name's channel key
// ("cctv5" finds CCTV-5 and CCTV-5+), its full pinyin ("hunan" finds
// 湖南卫视) or its initials ("hnws"); the best of the three. An empty
// query finds every name.
QueryMatch matchQuery(const QString& foldedQuery, const QString& key, const Pinyin& pinyin);

}  // namespace playlists
