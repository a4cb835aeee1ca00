#pragma once

#include <QString>

namespace playlists {

// Text with traditional Chinese characters turned into simplified ones by
// OpenCC (its "t2s" conversion), other text unchanged. Safe to call from any
// thread. Without OpenCC's data files the text comes back as it was.
QString toSimplifiedChinese(const QString& text);

}  // namespace playlists
